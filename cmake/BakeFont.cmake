# Bakes bitmap fonts at build time with the bakefont tool.

# tandry_bake_font(<target> OUTPUT <name> FACE <face or font file> SIZE <pixels>
#                  [BOLD] [ITALIC] [RANGES <first-last>...] [PAGE <WxH>]
#                  [PADDING <up,right,down,left>] [SPACING <h,v>])
# Writes <name>.fnt and <name>_<n>.png (OUTPUT relative to the current binary
# folder). The target is part of ALL. The font is baked again when the tool
# changes or when an argument changes: the arguments are kept in a file that
# is rewritten only when they differ, and the command depends on it.
# TANDRY_BAKEFONT_COMMAND names the tool when it is not this build's target.
function(tandry_bake_font target)
  cmake_parse_arguments(B "BOLD;ITALIC" "OUTPUT;FACE;SIZE;PAGE;PADDING;SPACING" "RANGES" ${ARGN})
  if(NOT B_OUTPUT OR NOT B_FACE OR NOT B_SIZE)
    message(FATAL_ERROR "tandry_bake_font(${target}): OUTPUT, FACE and SIZE are required")
  endif()
  get_filename_component(output ${B_OUTPUT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  set(args)
  if(B_BOLD)
    list(APPEND args --bold)
  endif()
  if(B_ITALIC)
    list(APPEND args --italic)
  endif()
  foreach(range IN LISTS B_RANGES)
    list(APPEND args --range ${range})
  endforeach()
  foreach(option PAGE PADDING SPACING)
    if(B_${option})
      string(TOLOWER ${option} name)
      list(APPEND args --${name} ${B_${option}})
    endif()
  endforeach()
  list(APPEND args ${B_FACE} ${B_SIZE} ${output})

  set(tool bakefont)
  if(TANDRY_BAKEFONT_COMMAND)
    set(tool ${TANDRY_BAKEFONT_COMMAND})
  endif()
  get_filename_component(folder ${output} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.bakefont-args)
  file(CONFIGURE OUTPUT ${stamp} CONTENT "${tool};${args}\n")
  add_custom_command(OUTPUT ${output}.fnt ${output}_0.png
    COMMAND ${tool} ${args}
    DEPENDS ${tool} ${stamp}
    COMMENT "Baking ${B_FACE} at ${B_SIZE} pixels into ${output}.fnt"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${output}.fnt)
endfunction()
