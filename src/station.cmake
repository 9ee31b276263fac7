# The station layer: windows, components and the Station composition root.
add_library(quorel_station STATIC
  app/application.cpp
  app/entry.cpp
  app/fonts.cpp
  app/hotkeys.cpp
  app/instance_guard.cpp
  app/main_console.cpp
  app/picture_window.cpp
  app/services.cpp
  app/splash.cpp
  app/station.cpp
  app/station_window.cpp
  app/unix_signals.cpp
  caption/caption_windows.h
  caption/input_edit.cpp
  caption/input_part.cpp
  caption/screen_part.cpp
  caption/smooth_picture.cpp
  caption/smooth_renderer.cpp
  windows/info/info_windows.h
  windows/prepared/prepared_windows.h
)
target_include_directories(quorel_station PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quorel_station PUBLIC quorel_wire Qt6::Widgets Qt6::Network)

add_executable(quorel app/main.cpp)
target_link_libraries(quorel PRIVATE quorel_station)
