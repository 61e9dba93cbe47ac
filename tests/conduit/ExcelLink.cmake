# The workbook link's tests: its reader and writer against worksheets that
# openpyxl built, and whole syncs along the Excel road.
add_executable(conduit_excel_test
  ${CMAKE_CURRENT_LIST_DIR}/formats/ExcelReadingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/formats/ExcelMeterTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExcelTransferTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WriteFaults.cpp)
target_link_libraries(conduit_excel_test PRIVATE wexal_conduit_core wexal_conduit_excel
                      wexal_openpyxl_support wexal_zip_bomb_support
                      wexal_handheld_store WexalSync wexal_test_support ${CMAKE_DL_LIBS})
wexal_discover_tests(conduit_excel_test)
