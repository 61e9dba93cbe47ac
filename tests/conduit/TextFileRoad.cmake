# The text-file road: exceptions capture, whole syncs through the driver, and
# the faults of files and handheld that the road must survive.
add_executable(conduit_textfile_test
  ${CMAKE_CURRENT_LIST_DIR}/ExceptionCaptureTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileRoadTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileFaultsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SyncFlushCountTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SharedRouteFolderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileVendorsV1Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileVendorsV2Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileVendorsV3Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OpenFaults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReadFaults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WriteFaults.cpp)
target_link_libraries(conduit_textfile_test PRIVATE wexal_conduit_core wexal_handheld_store
                      WexalSync wexal_test_support ${CMAKE_DL_LIBS})
# A reader waiting on a FIFO in place of a file fails by the timeout.
wexal_discover_tests(conduit_textfile_test PROPERTIES TIMEOUT 120)
