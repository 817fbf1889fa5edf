# The Windows build: the program, the hook library, and the tests that run
# under Wine.

# UNICODE: every Windows call names its "W" form, so that a narrow string
# handed to one does not compile; text reaches Windows through
# framework/Text.h alone.
set(win_flags -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601)
set(static_link -static -static-libgcc -static-libstdc++)

# Assets made by our own generators, so that a clean tree rebuilds them.
set(gen ${CMAKE_BINARY_DIR}/res)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT ${gen}/eyes.avi
  COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_eyes_avi.py ${gen}/eyes.avi
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_eyes_avi.py
  COMMENT "Drawing the eyes animation")
set(eyes_clips ${gen}/eyes.avi)
# One command a scale, so that the builds draw them side by side.
foreach(dpi 120 144 168 192)
  add_custom_command(OUTPUT ${gen}/eyes-${dpi}.avi
    COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_eyes_avi.py ${gen}/eyes-${dpi}.avi ${dpi}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_eyes_avi.py
    COMMENT "Drawing the eyes animation at ${dpi} dpi")
  list(APPEND eyes_clips ${gen}/eyes-${dpi}.avi)
endforeach()
add_custom_command(OUTPUT ${gen}/Lumeyra.ico ${gen}/LumeyraStop.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_icons.py ${gen}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icons.py
  COMMENT "Drawing the icons")
add_custom_command(OUTPUT ${gen}/eye.bmp ${gen}/hand.cur ${gen}/question.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_about_assets.py ${gen}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_about_assets.py ${CMAKE_SOURCE_DIR}/tools/make_icons.py
  COMMENT "Drawing the logo, the link cursor and the question icon")
set(generated ${eyes_clips} ${gen}/Lumeyra.ico ${gen}/LumeyraStop.ico ${gen}/eye.bmp ${gen}/hand.cur
  ${gen}/question.ico)
add_custom_target(generated_assets DEPENDS ${generated})

# The framework's Windows part.
target_sources(lumeyra_framework PRIVATE
  framework/App.cpp
  framework/Text.cpp
  framework/Dialog.cpp
  framework/Win32File.cpp
  framework/Control.cpp
  framework/DataExchange.cpp
  framework/Accessible.cpp
  framework/Dpi.cpp
  framework/Picture.cpp
)
target_compile_options(lumeyra_framework PRIVATE ${win_flags})
target_link_libraries(lumeyra_framework PUBLIC htmlhelp winmm comctl32 shell32 advapi32 gdi32 user32 wtsapi32
  ole32 oleaut32 oleacc userenv)

# The program's windows and resources, linked whole into the exe and into
# the Windows tests.
add_library(lumeyra_program OBJECT
  app/LumeyraApp.cpp
  app/LumeyraDlg.cpp
  app/LumeyraDlgSettings.cpp
  app/NotifyIcon.cpp
  app/SingleInstance.cpp
  app/HookLibrary.cpp
  app/ContextMenu.cpp
  app/ExiteDlg.cpp
  app/AboutDlg.cpp
  app/BusyWatch.cpp
  app/PolicyWatch.cpp
  prompts/Relese.cpp
  prompts/ReleseTime.cpp
  password/EditPassword.cpp
  password/PasswordFile.cpp
  password/QueryPassword.cpp
  controls/Label.cpp
  controls/LabelAccessible.cpp
  controls/LabelPaint.cpp
  settings/Win32Registry.cpp
  settings/OptionsDialog.cpp
  res/Lumeyra.rc
)
target_compile_options(lumeyra_program PUBLIC ${win_flags})
# The program sees every folder: it sits on top.
target_include_directories(lumeyra_program PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(lumeyra_program PUBLIC lumeyra_core lumeyra_framework)
set_source_files_properties(res/Lumeyra.rc PROPERTIES
  OBJECT_DEPENDS "${generated};${CMAKE_SOURCE_DIR}/res/resource.h")
file(GLOB pictures ${CMAKE_SOURCE_DIR}/res/pictures/*.bmp)
set_property(SOURCE res/Lumeyra.rc APPEND PROPERTY OBJECT_DEPENDS ${pictures})
target_include_directories(lumeyra_program PRIVATE ${gen} ${CMAKE_SOURCE_DIR}/res)
add_dependencies(lumeyra_program generated_assets)

add_executable(Lumeyra WIN32)
target_link_libraries(Lumeyra PRIVATE lumeyra_program)
# Shipped stripped: the program is meant to be tiny.
# Each section starts on a page of the file too, not only of memory: the
# loader can then map it from the file and keep only the pages the program
# touches. At the linker's default of 512 bytes, Wine copies a section that
# does not happen to start on a page whole into private memory: with the
# resources that was 3.3 MB of landscapes, on every run, from one build to
# the next as the code before them changed size.
target_link_options(Lumeyra PRIVATE ${static_link} -s -Wl,--file-alignment=0x1000)

add_library(HookKeyUp SHARED hook/HookKeyUp.cpp)
set_target_properties(HookKeyUp PROPERTIES PREFIX "" OUTPUT_NAME HookKeyUp)
target_include_directories(HookKeyUp PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(HookKeyUp PRIVATE ${win_flags})
target_link_options(HookKeyUp PRIVATE ${static_link} -s)

# The sounds and the record of the empty password ship beside the
# executable. A "Pass.bin" already there is kept: it may hold a password.
add_custom_command(TARGET Lumeyra POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
    ${CMAKE_SOURCE_DIR}/res/sounds/OnReleaseWarning.wav ${CMAKE_SOURCE_DIR}/res/sounds/OnStartWork.wav
    ${CMAKE_BINARY_DIR}/bin
  COMMAND test -e ${CMAKE_BINARY_DIR}/bin/Pass.bin
    || ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/res/Pass.bin ${CMAKE_BINARY_DIR}/bin
  VERBATIM)

# Everything the program needs beside it lands in one folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set_target_properties(Lumeyra HookKeyUp PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_subdirectory(tests/support)
add_subdirectory(tests/win)
add_subdirectory(tests/e2e)
add_subdirectory(bench)

# The help file and the packages.
include(cmake/package.cmake)
