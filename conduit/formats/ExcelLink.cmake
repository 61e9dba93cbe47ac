# The spreadsheet workbook link (interface "EXCEL"): the reader and writer of
# the mapped worksheet and the conduit's Excel transfer routines.
add_library(wexal_conduit_excel STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ExcelColumnLetters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExcelFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExcelMeter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExcelReading.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExcelRouteColumns.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExcelText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../ExcelDownload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../ExcelUpload.cpp)
wexal_headers(wexal_conduit_excel PUBLIC conduit)
target_link_libraries(wexal_conduit_excel PUBLIC wexal_sheet wexal_conduit_handheld
                                                 wexal_conduit_config wexal_conduit_billingfile
                                                 WexalMsgBox WexalLog)
