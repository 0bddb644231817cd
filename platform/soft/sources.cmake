# Software surfaces and text: sources for the platform library and its tests.
set(PLATFORM_SOFT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/surface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rows_base.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rows_avx2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bitmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../text/text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../text/cp932.cpp
)
set(PLATFORM_SOFT_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/../tests/surface_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tests/line_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tests/raster_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tests/bmp_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tests/text_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tests/alloc_counter.cpp
)
