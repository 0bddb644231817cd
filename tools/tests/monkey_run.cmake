# Headless runs of a program on a random input script from the monkey tool, in a fresh
# temporary folder.
#   -DPROGRAM=path -DMONKEY=path -DFRAMES=N -DSEED=N -DKEYS="left|z|..."
#   -DMODE=monkey   one run of FRAMES frames; it must end with status 0
#   -DMODE=clock    -DCLOCK=same|own: runs started at 0 and 5 s before 2^31 and 2^32 play
#                   FRAMES frames across the mark and end with status 0; with "same"
#                   their pictures half-way and at the end equal those of the run from 0
include(${CMAKE_CURRENT_LIST_DIR}/temp_folder.cmake)
string(REPLACE "|" ";" keys "${KEYS}")

macro(fail text)
  file(REMOVE_RECURSE "${tmp}")
  message(FATAL_ERROR "${text}")
endmacro()

execute_process(COMMAND "${MONKEY}" ${FRAMES} ${SEED} ${keys} OUTPUT_FILE "${tmp}/script.txt"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  fail("the monkey tool failed: ${rc}")
endif()
set(run "${PROGRAM}" --headless --seed ${SEED} --frames ${FRAMES} --input "${tmp}/script.txt")

if(MODE STREQUAL "monkey")
  execute_process(COMMAND ${run} WORKING_DIRECTORY "${tmp}" RESULT_VARIABLE rc OUTPUT_QUIET
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("${PROGRAM} on monkey script ${FRAMES} ${SEED} ended with status ${rc}: ${err}")
  endif()
elseif(MODE STREQUAL "clock")
  math(EXPR half "${FRAMES} / 2")
  foreach(start 0 2147478648 4294962296)
    execute_process(COMMAND ${run} --clock-start ${start} --screenshot ${half}:${tmp}/${start}-a.png
                            --screenshot ${FRAMES}:${tmp}/${start}-b.png
                    WORKING_DIRECTORY "${tmp}" RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
      fail("${PROGRAM} with --clock-start ${start} ended with status ${rc}: ${err}")
    endif()
    if(CLOCK STREQUAL "same" AND NOT start EQUAL 0)
      foreach(shot a b)
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${tmp}/0-${shot}.png"
                                "${tmp}/${start}-${shot}.png" RESULT_VARIABLE differ)
        if(NOT differ EQUAL 0)
          fail("${PROGRAM}: started at ${start}, picture ${shot} differs from the run started at 0")
        endif()
      endforeach()
    endif()
  endforeach()
else()
  fail("unknown MODE '${MODE}'")
endif()
file(REMOVE_RECURSE "${tmp}")
