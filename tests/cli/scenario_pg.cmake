# One scenario file on PostgreSQL: its database a fresh schema on the server that
# PAG_TEST_PG_URI names, dropped afterwards; without a server, says so (the test is then
# reported as skipped).
# Run as: cmake -DPAG12000=... -DSCENARIO=... -P this file.
if("$ENV{PAG_TEST_PG_URI}" STREQUAL "")
  message("PAG_TEST_PG_URI não definida: sem servidor PostgreSQL para o cenário")
  return()
endif()
execute_process(COMMAND ${PAG12000} scenario --pg "$ENV{PAG_TEST_PG_URI}" ${SCENARIO}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "o cenário falhou em PostgreSQL")
endif()
