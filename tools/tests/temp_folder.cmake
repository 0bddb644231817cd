# Included by the test scripts: makes a fresh temporary folder and sets tmp to its path.
# The script removes it when it is done.
if(DEFINED ENV{TMPDIR} AND IS_DIRECTORY "$ENV{TMPDIR}")
  set(tmp_base "$ENV{TMPDIR}")
else()
  set(tmp_base /tmp)
endif()
string(RANDOM LENGTH 10 tmp_tag)
set(tmp "${tmp_base}/kobako-test-${tmp_tag}")
file(MAKE_DIRECTORY "${tmp}")
