# The text-file road: upload, exceptions capture, sort-order check and
# download for the vendors of the fixed-column text files.
add_library(wexal_conduit_textfile STATIC
  ${CMAKE_CURRENT_LIST_DIR}/HHException.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExceptionLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExceptionCapture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExceptionRule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileRouteUpload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UploadJournal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UploadJournalSettling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileUploadLoop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileSortOrder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileDownload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClaimedDownload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderScan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileVendors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileVendorMembers.cpp)
wexal_headers(wexal_conduit_textfile PUBLIC conduit)
target_link_libraries(wexal_conduit_textfile PUBLIC wexal_conduit_formats wexal_conduit_handheld
                      wexal_conduit_config wexal_conduit_billingfile wexal_files WexalLog WexalMsgBox)
