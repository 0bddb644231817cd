# Writes a man page (section 6) from a program's --help.
#   -DPROGRAM -DNAME -DVERSION -DOUT (NAME.6.gz, compressed as Debian wants), and -DINFO: a file setting TITLE, SUMMARY and ABOUT
include(${INFO})
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed (${rc})")
endif()
# roff: backslashes doubled, hyphens of options literal, no line may start with . or '
macro(roff var)
  string(REPLACE "\\" "\\\\" ${var} "${${var}}")
  string(REPLACE "-" "\\-" ${var} "${${var}}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" ${var} "${${var}}")
endmacro()
string(REGEX REPLACE "^usage: [^ \n]+" "usage: ${NAME}" help "${help}")
roff(help)
roff(ABOUT)
roff(SUMMARY)
string(TOUPPER "${NAME}" upper)
string(REGEX REPLACE "\\.gz$" "" page "${OUT}")
file(WRITE ${page} ".TH ${upper} 6 \"2026-12-08\" \"kobako ${VERSION}\" \"Games\"
.SH NAME
${NAME} \\- ${SUMMARY}
.SH SYNOPSIS
.B ${NAME}
[\\fIoptions\\fR]
.SH DESCRIPTION
${TITLE}: ${ABOUT}
.SH OPTIONS
.nf
${help}.fi
.SH FILES
Data: \\fIPREFIX/share/kobako/\\fR; saved files: \\fI$XDG_DATA_HOME/kobako/\\fR
(default \\fI~/.local/share/kobako/\\fR).
")
execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip ${page} failed")
endif()
