# Builds the sample game's data from its sources under data/: each function
# adds one file of the staged game folder and records it, so that the packs
# and the loose copy depend on exactly the files that were made.

# The staged folder (what the packs hold) and the game folder (what runs).
set(MOORGLEN_STAGE_DIR ${CMAKE_BINARY_DIR}/game_stage)
set(MOORGLEN_GAME_DIR ${CMAKE_BINARY_DIR}/game)

find_program(MOORGLEN_RSVG_CONVERT rsvg-convert REQUIRED)

function(_moorglen_add_output file)
  set_property(GLOBAL APPEND PROPERTY MOORGLEN_GAME_FILES ${file})
endfunction()

# Records how a staged file is made, with @OUT@ for the output, so that a
# test can make every file a second time and compare (moorglen_write_recipes).
function(_moorglen_add_recipe name)
  string(JOIN "|" command ${ARGN})
  set_property(GLOBAL APPEND PROPERTY MOORGLEN_GAME_RECIPES "${name}\t${command}")
endfunction()

# moorglen_write_recipes(<file>): writes the recorded recipes, one a line,
# with the tools' paths filled in at generation time.
function(moorglen_write_recipes file)
  get_property(recipes GLOBAL PROPERTY MOORGLEN_GAME_RECIPES)
  string(JOIN "\n" text ${recipes})
  file(GENERATE OUTPUT ${file} CONTENT "${text}\n")
endfunction()

# moorglen_data_copy(<source> <staged name>): copies a file as it stands.
function(moorglen_data_copy source name)
  set(output ${MOORGLEN_STAGE_DIR}/${name})
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${output}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source}
    COMMENT "Staging ${name}"
    VERBATIM)
  _moorglen_add_output(${output})
  _moorglen_add_recipe(${name} ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} @OUT@)
endfunction()

# moorglen_picture(<staged png> <svg under art/> <width> <height>): renders
# the drawing at that pixel size. A name ending in "_" is the alpha mask of
# the picture of the same name without it.
function(moorglen_picture name svg width height)
  set(output ${MOORGLEN_STAGE_DIR}/${name})
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${MOORGLEN_RSVG_CONVERT} --width ${width} --height ${height} --format png
      --output ${output} ${CMAKE_CURRENT_SOURCE_DIR}/art/${svg}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/art/${svg}
    COMMENT "Drawing ${name}"
    VERBATIM)
  _moorglen_add_output(${output})
  _moorglen_add_recipe(${name} ${MOORGLEN_RSVG_CONVERT} --width ${width} --height ${height} --format png
    --output @OUT@ ${CMAKE_CURRENT_SOURCE_DIR}/art/${svg})
endfunction()

# moorglen_data_make(<lang|particle|sound> <source> <staged name>): runs the
# gamedata tool, or for a sound the gamesound tool, on a text source.
function(moorglen_data_make kind source name)
  if(kind STREQUAL "sound")
    set(tool gamesound)
    set(command gamesound)
    set(recipe $<TARGET_FILE:gamesound>)
  else()
    set(tool gamedata)
    set(command gamedata ${kind})
    set(recipe $<TARGET_FILE:gamedata> ${kind})
  endif()
  set(output ${MOORGLEN_STAGE_DIR}/${name})
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${command} ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${output}
    DEPENDS ${tool} ${CMAKE_CURRENT_SOURCE_DIR}/${source}
    COMMENT "Making ${name}"
    VERBATIM)
  _moorglen_add_output(${output})
  _moorglen_add_recipe(${name} ${recipe} ${CMAKE_CURRENT_SOURCE_DIR}/${source} @OUT@)
endfunction()

# moorglen_font(<name> <font file> <pixels> [PAGE <WxH>]): bakes the printable
# Latin-1 characters into data/fonts/<name>.fnt and its one page (512x512
# unless given).
function(moorglen_font name face size)
  cmake_parse_arguments(F "" "PAGE" "" ${ARGN})
  if(NOT F_PAGE)
    set(F_PAGE 512x512)
  endif()
  set(target moorglen_font_${name})
  tandry_bake_font(${target} OUTPUT ${MOORGLEN_STAGE_DIR}/data/fonts/${name} FACE ${face} SIZE ${size}
    RANGES 20-7E A0-FF PAGE ${F_PAGE})
  _moorglen_add_output(${MOORGLEN_STAGE_DIR}/data/fonts/${name}.fnt)
  _moorglen_add_output(${MOORGLEN_STAGE_DIR}/data/fonts/${name}_0.png)
  # The baker writes <name>.fnt and <name>_0.png from the one output name.
  _moorglen_add_recipe(data/fonts/${name} $<TARGET_FILE:bakefont> --range 20-7E --range A0-FF --page ${F_PAGE}
    ${face} ${size} @OUT@)
endfunction()

# moorglen_movie(<source>): a movie file, loose in the game folder only.
function(moorglen_movie source)
  get_filename_component(file ${source} NAME)
  set(output ${MOORGLEN_GAME_DIR}/res/movies/${file})
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${output}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source}
    COMMENT "Placing the movie ${file}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY MOORGLEN_MOVIE_FILES ${output})
endfunction()
