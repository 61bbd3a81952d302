# billiards_resource_pack(<target> DIRECTORY <folder> OUTPUT <file.rcc>)
# Builds a resource pack (a binary Qt resource file) from every file under
# <folder>, each stored under its path relative to the folder
# ("strings.json", "bitmap/IDB_BORDER41.bmp", ...). See README.md for the
# layout platform/resources expects.
function(billiards_resource_pack name)
  cmake_parse_arguments(P "" "DIRECTORY;OUTPUT" "" ${ARGN})
  get_filename_component(folder ${P_DIRECTORY} ABSOLUTE)
  file(GLOB_RECURSE files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${folder}/*)
  list(SORT files)
  set(qrc "<RCC>\n  <qresource prefix=\"/\">\n")
  foreach(f IN LISTS files)
    file(RELATIVE_PATH alias ${folder} ${f})
    string(APPEND qrc "    <file alias=\"${alias}\">${f}</file>\n")
  endforeach()
  string(APPEND qrc "  </qresource>\n</RCC>\n")
  set(qrc_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.qrc)
  file(CONFIGURE OUTPUT ${qrc_file} CONTENT "${qrc}" @ONLY)
  get_filename_component(out_dir ${P_OUTPUT} DIRECTORY)
  file(MAKE_DIRECTORY ${out_dir})
  add_custom_command(OUTPUT ${P_OUTPUT}
    COMMAND Qt6::rcc --binary --no-zstd --output ${P_OUTPUT} ${qrc_file}
    DEPENDS Qt6::rcc ${qrc_file} ${files}
    COMMENT "Packing ${P_OUTPUT}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${P_OUTPUT})
endfunction()
