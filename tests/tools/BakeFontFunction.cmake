# Run with cmake -P, given SOURCE (the project), BAKEFONT (the built tool) and
# WORK (a scratch folder): configures a small project that bakes a font with
# tandry_bake_font, builds it, checks that a second build bakes nothing, then
# changes an argument and checks that the font is baked again.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/src)
file(WRITE ${WORK}/src/CMakeLists.txt
  "cmake_minimum_required(VERSION 3.25)\n"
  "project(BakeFontFunction NONE)\n"
  "include(${SOURCE}/cmake/BakeFont.cmake)\n"
  "set(TANDRY_BAKEFONT_COMMAND ${BAKEFONT})\n"
  "tandry_bake_font(font OUTPUT out/font FACE \"DejaVu Sans\" SIZE \${FONT_SIZE} RANGES 41-42)\n")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed:\n${output}${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

function(configure size)
  run(${CMAKE_COMMAND} -S ${WORK}/src -B ${WORK}/build -G Ninja -DFONT_SIZE=${size})
endfunction()

configure(10)
run(${CMAKE_COMMAND} --build ${WORK}/build)
if(NOT output MATCHES "Baking")
  message(FATAL_ERROR "the first build baked nothing:\n${output}")
endif()
file(READ ${WORK}/build/out/font.fnt first)

configure(10)
run(${CMAKE_COMMAND} --build ${WORK}/build)
if(output MATCHES "Baking")
  message(FATAL_ERROR "a build without a change baked again:\n${output}")
endif()

configure(11)
run(${CMAKE_COMMAND} --build ${WORK}/build)
if(NOT output MATCHES "Baking")
  message(FATAL_ERROR "a changed size was not baked again:\n${output}")
endif()
file(READ ${WORK}/build/out/font.fnt second)
if(first STREQUAL second OR NOT second MATCHES "size=11 ")
  message(FATAL_ERROR "the font did not change with its size")
endif()
file(REMOVE_RECURSE ${WORK})
