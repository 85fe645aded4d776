# Read by CTest once the image tests are discovered: under ASan the JPEG 2000
# tests run with every new heap block (up to 64 MB) filled with 0xA5, so a
# pixel never written shows up instead of reading as zero.
foreach(test IN LISTS imagelib_tests_TESTS)
  if(test MATCHES "^(ImageLibJpeg2000|J2kCodecModule)\\.")
    set_tests_properties("${test}" PROPERTIES ENVIRONMENT_MODIFICATION
      "ASAN_OPTIONS=string_append::malloc_fill_byte=165:max_malloc_fill_size=67108864")
  endif()
endforeach()
