# What a Windows user gets: the help file, the version resource and the
# manifest of the exe, the setup and the portable zip. The packages land in
# dist/; both hold the same files.

# The help file, compiled by our own tool from res/help and the screenshots
# in docs/. It stays out of bin/, where the tests run the program without
# one; the probes are copies whose context map keeps some numbers only, so
# that a test sees which number a caller asks for.
set(help_dir ${CMAKE_BINARY_DIR}/help)
set(make_chm ${CMAKE_SOURCE_DIR}/tools/make_chm.py)
set(help_project ${CMAKE_SOURCE_DIR}/res/help/Lumeyra.hhp)
file(GLOB help_sources ${CMAKE_SOURCE_DIR}/res/help/* ${CMAKE_SOURCE_DIR}/docs/*.png)
set(help_file ${help_dir}/Lumeyra.CHM)
set(help_outputs ${help_file})
set(help_commands COMMAND Python3::Interpreter ${make_chm} ${help_project} ${help_file}
  --search ${CMAKE_SOURCE_DIR}/docs)
foreach(probe no1:0,2,3,4 no2:0,1,3,4 no3:0,1,2,4 no4:0,1,2,3)
  string(REPLACE ":" ";" probe ${probe})
  list(GET probe 0 probe_name)
  list(GET probe 1 probe_contexts)
  list(APPEND help_outputs ${help_dir}/probe-${probe_name}.CHM)
  list(APPEND help_commands COMMAND Python3::Interpreter ${make_chm} ${help_project}
    ${help_dir}/probe-${probe_name}.CHM --search ${CMAKE_SOURCE_DIR}/docs --contexts ${probe_contexts})
endforeach()
add_custom_command(OUTPUT ${help_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${help_dir}
  ${help_commands}
  DEPENDS ${make_chm} ${help_sources}
  COMMENT "Compiling the help file")
add_custom_target(help_file ALL DEPENDS ${help_outputs})
add_dependencies(e2e_tests help_file)

# Read back by three independent readers (chmlib, libmspack, 7-Zip): every
# file byte for byte, Microsoft's layout, every topic, the context map, no
# path of this machine inside.
add_test(NAME help_file COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/check_chm.py ${help_file}
  --project ${help_project} --search ${CMAKE_SOURCE_DIR}/docs
  --forbid ${CMAKE_SOURCE_DIR} --forbid ${CMAKE_BINARY_DIR})

# The version resource and the manifest, in the exe only: the tests keep
# running as they always have.
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${gen}/version.h @ONLY)
set(LUMEYRA_VERSION_QUAD ${PROJECT_VERSION}.0)
configure_file(${CMAKE_SOURCE_DIR}/res/Lumeyra.manifest ${gen}/Lumeyra.manifest @ONLY)
target_sources(Lumeyra PRIVATE res/Version.rc)
set_source_files_properties(res/Version.rc PROPERTIES
  OBJECT_DEPENDS "${gen}/version.h;${gen}/Lumeyra.manifest"
  INCLUDE_DIRECTORIES ${gen})

# The folder both packages are made of. Pass.bin comes from the sources:
# the one in bin/ may hold a password a test has set.
set(dist ${CMAKE_BINARY_DIR}/dist)
set(stage_name Lumeyra-${PROJECT_VERSION})
set(stage ${dist}/${stage_name})
set(setup ${dist}/Lumeyra-Setup-${PROJECT_VERSION}.exe)
set(portable ${dist}/Lumeyra-${PROJECT_VERSION}-portable.zip)
set(stage_files $<TARGET_FILE:Lumeyra> $<TARGET_FILE:HookKeyUp> ${CMAKE_SOURCE_DIR}/res/sounds/OnReleaseWarning.wav
  ${CMAKE_SOURCE_DIR}/res/sounds/OnStartWork.wav ${help_file} ${CMAKE_SOURCE_DIR}/res/Pass.bin
  ${CMAKE_SOURCE_DIR}/res/CREDITS ${CMAKE_SOURCE_DIR}/LICENSE)
# The administrative template keeps its folders: PolicyDefinitions takes
# the .admx beside one folder of .adml per language.
set(policy_templates ${CMAKE_SOURCE_DIR}/res/policies/Lumeyra.admx
  ${CMAKE_SOURCE_DIR}/res/policies/en-US/Lumeyra.adml ${CMAKE_SOURCE_DIR}/res/policies/ru-RU/Lumeyra.adml)
find_program(MAKENSIS makensis REQUIRED)
add_custom_command(OUTPUT ${setup} ${portable}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${stage_files} ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/res/policies ${stage}/policies
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage} -DOUTFILE=${setup}
    ${CMAKE_SOURCE_DIR}/installer/Lumeyra.nsi
  COMMAND ${CMAKE_COMMAND} -E rm -f ${portable}
  COMMAND ${CMAKE_COMMAND} -E chdir ${dist} ${CMAKE_COMMAND} -E tar cf ${portable} --format=zip ${stage_name}
  DEPENDS ${stage_files} ${policy_templates} Lumeyra HookKeyUp ${CMAKE_SOURCE_DIR}/installer/Lumeyra.nsi
  COMMENT "Packing the setup and the portable zip"
  VERBATIM)
add_custom_target(packages ALL DEPENDS ${setup} ${portable})

add_subdirectory(tests/package)
