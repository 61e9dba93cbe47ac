# Whole text-file syncs under failing files, a failing handheld, kills at
# random moments and two handhelds at once, the upload journal that keeps a
# killed upload from leaving readings twice in the readings file, and the
# billing-file lock that makes syncs take turns at one file.
add_executable(conduit_stress_test
  ${CMAKE_CURRENT_LIST_DIR}/BillingFileLockSyncTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SyncFaultTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SyncKillTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UploadJournalTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UploadJournalRoutesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OpenFaults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WriteFaults.cpp)
target_link_libraries(conduit_stress_test PRIVATE wexal_conduit_core wexal_billingfile
                      wexal_handheld_store WexalSync wexal_test_support ${CMAKE_DL_LIBS})
wexal_discover_tests(conduit_stress_test)
