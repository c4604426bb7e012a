# Turns the BMP screenshots in FOLDER into PNG files of the same names and removes the BMP files.
# Usage: cmake -DMOGRIFY=<mogrify> -DFOLDER=<screenshot folder> -P PngScreenshots.cmake
file(GLOB bitmaps ${FOLDER}/*.bmp)
if(NOT bitmaps)
  return()
endif()
execute_process(COMMAND ${MOGRIFY} -format png ${bitmaps} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "mogrify (${MOGRIFY}, from ImageMagick) could not convert the screenshots: ${result}")
endif()
file(REMOVE ${bitmaps})
