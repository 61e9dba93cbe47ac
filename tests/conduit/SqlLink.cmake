# The SQL data-source link's tests: its pieces on their own, and whole
# exchanges with the sample billing database, which a CTest fixture starts
# in a throwaway PostgreSQL cluster (tests/sql/postgres-fixture.sh), and
# the texts that every road logs.
include(${CMAKE_SOURCE_DIR}/tests/sql/SqlTests.cmake)
wexal_billing_fixture()

set(sql_tests ${CMAKE_CURRENT_LIST_DIR}/formats)
add_executable(conduit_sql_unit_test
  ${sql_tests}/AnsiTextTest.cpp
  ${sql_tests}/SetReaderRouteTest.cpp
  ${sql_tests}/SqlParameterTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReadFaults.cpp)
target_link_libraries(conduit_sql_unit_test PRIVATE wexal_conduit_sql wexal_handheld_store
                      wexal_test_support ${CMAKE_DL_LIBS})
wexal_discover_tests(conduit_sql_unit_test)

add_executable(conduit_sql_test
  ${sql_tests}/SqlLinkTestBed.cpp
  ${sql_tests}/SqlRouteListTest.cpp
  ${sql_tests}/SqlUploadTest.cpp
  ${sql_tests}/SqlDownloadTest.cpp
  ${sql_tests}/SqlFailureTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogTextTest.cpp
  ${CMAKE_SOURCE_DIR}/tools/hotsync/LoggedFailures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReadFaults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WriteFaults.cpp)
target_link_libraries(conduit_sql_test PRIVATE wexal_conduit_core wexal_billing_test_support
                      wexal_openpyxl_support wexal_handheld_store GTest::gmock ${CMAKE_DL_LIBS})
wexal_headers(conduit_sql_test PRIVATE tools/hotsync)
wexal_billing_tests(conduit_sql_test)
