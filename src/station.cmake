# The net layer: the UDP endpoint over a network interface (real or virtual).
add_library(quorel_net STATIC
  net/datagram_network.h
  net/nmudp.cpp
  net/udp_network.cpp
  net/virtual_lan.cpp
)
target_link_libraries(quorel_net PUBLIC quorel_wire Qt6::Network)

# The station layer: windows, components and the Station composition root.
add_library(quorel_station STATIC
  app/application.cpp
  app/entry.cpp
  app/fonts.cpp
  app/hotkeys.cpp
  app/instance_guard.cpp
  app/main_console.cpp
  app/picture_window.cpp
  app/screen_modes.cpp
  app/services.cpp
  app/splash.cpp
  app/station.cpp
  app/station_window.cpp
  app/titles.cpp
  app/unix_signals.cpp
  caption/caption_link.cpp
  caption/monitor.cpp
  caption/undo.cpp
  caption/caption_windows.cpp
  caption/eight_person.cpp
  caption/input_edit.cpp
  caption/input_part.cpp
  caption/screen_part.cpp
  caption/smooth_picture.cpp
  caption/smooth_renderer.cpp
  members/member_list.cpp
  members/partner.cpp
  net/channels.cpp
  net/link_encryption.cpp
  net/lumo_link.cpp
  net/own_address.cpp
  windows/info/info_windows.h
  windows/prepared/prepared_windows.h
)
target_include_directories(quorel_station PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quorel_station PUBLIC quorel_net Qt6::Widgets)

add_executable(quorel app/main.cpp)
target_link_libraries(quorel PRIVATE quorel_station)
