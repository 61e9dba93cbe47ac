# What the database tests share: the helper that reaches the sample billing
# database, and the registration of test programs that need it. The database
# is a throwaway PostgreSQL cluster that a CTest fixture starts
# (postgres-fixture.sh); its data source lands in odbc.ini of the folder below.
include_guard(GLOBAL)

function(wexal_billing_fixture_dir out)
  set(${out} ${CMAKE_BINARY_DIR}/tests/billing-postgres PARENT_SCOPE)
endfunction()

add_library(wexal_billing_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/BillingDatabase.cpp)
target_link_libraries(wexal_billing_test_support PUBLIC wexal_ado wexal_test_support)

# The fixture's start and stop as tests of their own.
function(wexal_billing_fixture)
  wexal_billing_fixture_dir(dir)
  set(script ${CMAKE_SOURCE_DIR}/tests/sql/postgres-fixture.sh)
  add_test(NAME billing_postgres_start COMMAND bash ${script} start ${dir})
  add_test(NAME billing_postgres_stop COMMAND bash ${script} stop ${dir})
  set_tests_properties(billing_postgres_start PROPERTIES FIXTURES_SETUP billing_postgres)
  set_tests_properties(billing_postgres_stop PROPERTIES FIXTURES_CLEANUP billing_postgres)
endfunction()

# Every test of `target` runs with the database started and alone with it:
# the tests change its tables.
function(wexal_billing_tests target)
  wexal_billing_fixture_dir(dir)
  wexal_discover_tests(${target} PROPERTIES
    FIXTURES_REQUIRED billing_postgres
    RESOURCE_LOCK billing_postgres
    ENVIRONMENT "ODBCINI=${dir}/odbc.ini")
endfunction()
