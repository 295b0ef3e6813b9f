# Builds pack files from folders at build time with the makepak tool.

# tandry_add_pack(<target> OUTPUT <file> FOLDERS <folder>... [WORKING_DIRECTORY <dir>]
#                 [DEPENDS <file or target>...])
# Packs each folder (relative to WORKING_DIRECTORY, by default the current
# source folder) into OUTPUT, in the order given; entry names are the folder
# as given plus the path inside it, upper-cased, with '\' separators. The
# target is part of ALL. The pack is made again when a file below a folder
# changes, and when one is added, removed or renamed: every folder is an input
# too, and the listing is checked again at each build. Keep OUTPUT outside the
# packed folders.
function(tandry_add_pack target)
  cmake_parse_arguments(P "" "OUTPUT;WORKING_DIRECTORY" "FOLDERS;DEPENDS" ${ARGN})
  if(NOT P_OUTPUT OR NOT P_FOLDERS)
    message(FATAL_ERROR "tandry_add_pack(${target}): OUTPUT and FOLDERS are required")
  endif()
  if(NOT P_WORKING_DIRECTORY)
    set(P_WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  get_filename_component(output ${P_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  set(inputs ${P_DEPENDS})
  if(NOT P_DEPENDS)
    foreach(folder IN LISTS P_FOLDERS)
      set(dir ${P_WORKING_DIRECTORY}/${folder})
      file(GLOB_RECURSE found LIST_DIRECTORIES true CONFIGURE_DEPENDS ${dir}/*)
      list(APPEND inputs ${dir} ${found})
    endforeach()
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND makepak ${output} ${P_FOLDERS}
    WORKING_DIRECTORY ${P_WORKING_DIRECTORY}
    DEPENDS makepak ${inputs}
    COMMENT "Packing ${P_FOLDERS} into ${output}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
