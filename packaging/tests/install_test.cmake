cmake_policy(VERSION 3.25)
# Installs the collection into a temporary prefix, moves the prefix elsewhere, and runs
# every installed program headless from an unrelated folder with a player's data folder
# of its own; checks that nothing lies outside the allowed folders, that the programs
# wrote nothing into the prefix or the working directory, that quorin's files live in the
# player's data folder (the shipped option file copied once, never overwritten; a folder
# that cannot be made leaves the game playing), and validates the menu entries and the
# metainfo.   -DBUILD=build folder  -DPROGRAMS="ball|volley|..."  -DSOURCE=source folder
include(${CMAKE_CURRENT_LIST_DIR}/../../tools/tests/temp_folder.cmake)
string(REPLACE "|" ";" programs "${PROGRAMS}")
set(errors "")
macro(problem text)
  string(APPEND errors "  ${text}\n")
endmacro()

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${tmp}/first
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  file(REMOVE_RECURSE ${tmp})
  message(FATAL_ERROR "install failed: ${err}")
endif()
file(RENAME ${tmp}/first ${tmp}/moved)  # a relocated prefix
set(prefix ${tmp}/moved)
file(GLOB_RECURSE installed RELATIVE ${prefix} ${prefix}/*)
foreach(f ${installed})
  if(NOT (f MATCHES "^bin/kobako(-[a-z0-9]+)?$|^share/(kobako|applications|icons|metainfo|man|doc)/"))
    problem("installed outside the allowed folders: ${f}")
  endif()
endforeach()
foreach(name kobako ${programs})
  if(NOT (EXISTS ${prefix}/share/applications/kobako-${name}.desktop OR name STREQUAL kobako))
    problem("no menu entry for ${name}")
  endif()
  foreach(size 32 48 64 128 256)
    set(icon kobako-${name})
    if(name STREQUAL kobako)
      set(icon kobako)
    endif()
    if(NOT (EXISTS ${prefix}/share/icons/hicolor/${size}x${size}/apps/${icon}.png))
      problem("no ${size} px icon for ${name}")
    endif()
  endforeach()
endforeach()

file(MAKE_DIRECTORY ${tmp}/elsewhere ${tmp}/home ${tmp}/shots)
set(env ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${tmp}/xdg HOME=${tmp}/home SDL_AUDIODRIVER=dummy)
foreach(name ${programs})
  execute_process(COMMAND ${env} ${prefix}/bin/kobako-${name} --headless --frames 300
                          --screenshot 300:${tmp}/shots/${name}.png
                  WORKING_DIRECTORY ${tmp}/elsewhere RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT (rc EQUAL 0))
    problem("kobako-${name} exited with ${rc}: ${err}")
  endif()
  if(NOT (NOT err MATCHES "cannot open"))
    problem("kobako-${name} did not find its data: ${err}")
  endif()
  if(NOT (EXISTS ${tmp}/shots/${name}.png))
    problem("kobako-${name} wrote no screenshot")
  endif()
endforeach()

# quorin played to a game over from the unrelated folder: the record lands in the player's
# data folder beside the shipped option file; a player's own option file stays.
if("quorin" IN_LIST programs)
  set(player ${tmp}/xdg/kobako/quorin)
  file(WRITE ${player}/option.txt "0,3.0\n")
  file(REMOVE ${player}/die.txt)
  execute_process(COMMAND ${env} ${prefix}/bin/kobako-quorin --headless --seed 8 --frames 1200
                          --input ${SOURCE}/quorin/tests/playthrough.script
                  WORKING_DIRECTORY ${tmp}/elsewhere RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    problem("kobako-quorin game exited with ${rc}: ${err}")
  endif()
  file(READ ${player}/option.txt options)
  if(NOT options STREQUAL "0,3.0\n")
    problem("the player's option.txt was overwritten: ${options}")
  endif()
  if(NOT EXISTS ${player}/die.txt)
    problem("quorin's record is not in the player's data folder")
  endif()
  # A fresh player gets the shipped option file.
  file(REMOVE_RECURSE ${tmp}/xdg2)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${tmp}/xdg2 SDL_AUDIODRIVER=dummy
                          ${prefix}/bin/kobako-quorin --headless --frames 10
                  WORKING_DIRECTORY ${tmp}/elsewhere RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT EXISTS ${tmp}/xdg2/kobako/quorin/option.txt OR NOT rc EQUAL 0)
    problem("the shipped option.txt was not copied to a new player's folder (${rc}): ${err}")
  endif()
  # A data folder that cannot be made: a warning naming it, and the game plays on.
  file(WRITE ${tmp}/afile "")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${tmp}/afile SDL_AUDIODRIVER=dummy
                          ${prefix}/bin/kobako-quorin --headless --frames 60
                          --screenshot 60:${tmp}/shots/quorin-nofolder.png
                  WORKING_DIRECTORY ${tmp}/shots RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err MATCHES "cannot use the folder '${tmp}/afile/kobako/quorin/'"
     OR NOT EXISTS ${tmp}/shots/quorin-nofolder.png)
    problem("an unusable data folder: status ${rc}, ${err}")
  endif()
endif()

# The launcher from the moved prefix: a click on the first tile starts that game headless.
file(WRITE ${tmp}/click.script "5 mouse 80 150\n6 down lbutton\n7 up lbutton\n")
list(GET programs 0 first)
execute_process(COMMAND ${env} ${prefix}/bin/kobako --headless --frames 20
                        --input ${tmp}/click.script --screenshot 20:${tmp}/shots/kobako.png
                WORKING_DIRECTORY ${tmp}/elsewhere RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT (rc EQUAL 0))
  problem("kobako exited with ${rc}: ${err}")
endif()
if(NOT (out MATCHES "kobako: ${first} ended with status 0"))
  problem("the launcher did not run ${first}: ${out}${err}")
endif()
if(NOT (EXISTS ${tmp}/shots/kobako.png))
  problem("the launcher wrote no screenshot")
endif()

# Programs write only into the player's data folder.
file(GLOB_RECURSE after RELATIVE ${prefix} ${prefix}/*)
if(NOT (after STREQUAL installed))
  problem("a program wrote into the prefix")
endif()
file(GLOB left ${tmp}/elsewhere/*)
if(NOT (left STREQUAL ""))
  problem("a program wrote into its working directory: ${left}")
endif()

find_program(desktop_validate desktop-file-validate)
if(desktop_validate)
  file(GLOB entries ${prefix}/share/applications/*.desktop)
  execute_process(COMMAND ${desktop_validate} ${entries} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  if(NOT (rc EQUAL 0 AND out STREQUAL ""))
    problem("desktop-file-validate: ${out}")
  endif()
endif()
find_program(appstreamcli appstreamcli)
if(appstreamcli)
  execute_process(COMMAND ${appstreamcli} validate --no-net --pedantic
                          ${prefix}/share/metainfo/org.example.kobako.metainfo.xml
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT (rc EQUAL 0))
    problem("appstreamcli validate: ${out}")
  endif()
endif()

file(REMOVE_RECURSE ${tmp})
if(NOT errors STREQUAL "")
  message(FATAL_ERROR "install test:\n${errors}")
endif()
