# The net layer: the UDP endpoint over a network interface (real or virtual).
add_library(quorel_net STATIC
  net/datagram_network.h
  net/nmudp.cpp
  net/udp_network.cpp
  net/virtual_lan.cpp
)
target_link_libraries(quorel_net PUBLIC quorel_wire Qt6::Network)

# Services every station component uses: message boxes, clock, clipboard,
# choosers, error reporting and integer boxes.
add_library(quorel_base STATIC
  base/program_folder.cpp
  base/services.cpp
)
target_include_directories(quorel_base PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quorel_base PUBLIC Qt6::Widgets)

# Settings files: the key catalogue, the reader and the writer, files on disk.
add_library(quorel_settings STATIC
  settings/catalogue.cpp
  settings/settings_file.cpp
  settings/settings_registry.cpp
  settings/settings_values.cpp
)
target_link_libraries(quorel_settings PUBLIC quorel_text Qt6::Gui)

# The station layer: windows, components and the Station composition root.
add_library(quorel_station STATIC
  app/application.cpp
  app/entry.cpp
  app/hotkeys.cpp
  app/instance_guard.cpp
  app/main_console.cpp
  app/picture_window.cpp
  app/screen_modes.cpp
  app/settings_bindings.cpp
  app/splash.cpp
  app/station.cpp
  app/unix_signals.cpp
  caption/audience_view.cpp
  caption/qr_overlay.cpp
  caption/caption_link.cpp
  caption/corrections.cpp
  caption/monitor.cpp
  caption/reading_source.cpp
  caption/undo.cpp
  caption/caption_windows.cpp
  caption/eight_person.cpp
  caption/input_edit.cpp
  caption/input_aids.cpp
  caption/input_part.cpp
  caption/sub_input.cpp
  caption/reading_insertion.cpp
  caption/screen_part.cpp
  caption/smooth_picture.cpp
  caption/smooth_renderer.cpp
  logs/display_log.cpp
  logs/line_times.cpp
  logs/transcript.cpp
  logs/transcripts.cpp
  members/member_list.cpp
  members/partner.cpp
  net/channels.cpp
  net/link_encryption.cpp
  net/lumo_link.cpp
  net/own_address.cpp
  settings/remote_settings.cpp
  settings/settings_commands.cpp
  windows/controls.cpp
  windows/fonts.cpp
  windows/station_window.cpp
  windows/titles.cpp
  windows/info/chat.cpp
  windows/info/chat_window.cpp
  windows/info/info_windows.h
  windows/info/information_window.cpp
  windows/info/telop.cpp
  windows/prepared/karaoke.cpp
  windows/prepared/karaoke_window.cpp
  windows/prepared/prepared_windows.h
  windows/prepared/palette.cpp
  windows/prepared/palette_window.cpp
  windows/prepared/preroll.cpp
  windows/prepared/preroll_monitor.cpp
  windows/prepared/preroll_window.cpp
  windows/prepared/sub_input_window.cpp
)
target_include_directories(quorel_station PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quorel_station PUBLIC quorel_net quorel_base quorel_settings quorel_web quorel_qr Qt6::Widgets)

add_executable(quorel app/main.cpp)
target_link_libraries(quorel PRIVATE quorel_station)
