# Included by assets/CMakeLists.txt (the block movies it builds are the icon's art).
#
# `cmake --install build --prefix P` lays the game out as a distribution would:
#   P/games/quorvo                                  the program
#   P/share/games/quorvo/Quorvo.VKR, Licences/      its data (found from the program's real path)
#   P/share/applications/org.quorvo.Quorvo.desktop  the menu entry
#   P/share/metainfo/org.quorvo.Quorvo.metainfo.xml the software-centre description
#   P/share/icons/hicolor/<size>/apps/...           icons 16 to 512 and scalable
#   P/share/man/man6/quorvo.6                       the manual page
# An installed game keeps its saves in $XDG_DATA_HOME/quorvo/Data/.

set(QUORVO_APP_ID org.quorvo.Quorvo)
set(QUORVO_SCREENSHOT_URL "https://quorvo.org/screenshots" CACHE STRING
    "Where the screenshots named in the metainfo file are published (the window check takes them)")
set(QUORVO_DESKTOP_DIR ${CMAKE_BINARY_DIR}/desktop)
set(QUORVO_ICON_SIZES 16 22 24 32 48 64 128 256 512)
set(desktop_outputs "")

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/desktop/${QUORVO_APP_ID}.metainfo.xml.in
    ${QUORVO_DESKTOP_DIR}/${QUORVO_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/desktop/quorvo.6.in ${QUORVO_DESKTOP_DIR}/quorvo.6 @ONLY)

# Red, orange, blue and green blocks, two by two.
set(icon_blocks Red Orange Blue Green)
set(icon_movies "")
set(icon_sources "")
foreach(block ${icon_blocks})
    list(APPEND icon_movies ${QUORVO_DATA_STAGING}/Data/Graphics/Blocks/${block}.swf)
    list(APPEND icon_sources ${CMAKE_CURRENT_SOURCE_DIR}/graphics/Blocks/${block}.svg)
endforeach()
foreach(size ${QUORVO_ICON_SIZES})
    set(out ${QUORVO_DESKTOP_DIR}/icons/${size}x${size}/apps/${QUORVO_APP_ID}.png)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORVO_DESKTOP_DIR}/icons/${size}x${size}/apps
        COMMAND $<TARGET_FILE:iconmake> --png ${size} ${out} ${icon_movies}
        DEPENDS ${icon_movies} iconmake
        COMMENT "Icon ${size}x${size}"
        VERBATIM)
    list(APPEND desktop_outputs ${out})
endforeach()
set(scalable ${QUORVO_DESKTOP_DIR}/icons/scalable/apps/${QUORVO_APP_ID}.svg)
add_custom_command(OUTPUT ${scalable}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORVO_DESKTOP_DIR}/icons/scalable/apps
    COMMAND $<TARGET_FILE:iconmake> --svg ${scalable} ${icon_sources}
    DEPENDS ${icon_sources} iconmake
    COMMENT "Icon scalable"
    VERBATIM)
list(APPEND desktop_outputs ${scalable})
add_custom_target(desktop_files ALL DEPENDS ${desktop_outputs})

if(TARGET quorvo)
    install(TARGETS quorvo RUNTIME DESTINATION games)
endif()
install(FILES ${QUORVO_DATA_ARCHIVE} DESTINATION share/games/quorvo)
install(DIRECTORY ${QUORVO_GAME_DIR}/Licences DESTINATION share/games/quorvo OPTIONAL)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/desktop/${QUORVO_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${QUORVO_DESKTOP_DIR}/${QUORVO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${QUORVO_DESKTOP_DIR}/icons/ DESTINATION share/icons/hicolor)
install(FILES ${QUORVO_DESKTOP_DIR}/quorvo.6 DESTINATION share/man/man6)
