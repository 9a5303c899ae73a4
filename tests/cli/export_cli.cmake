# pag12000 export as a user runs it on the demo database: the list written with its
# count on the output, and bad criteria refused by the filter's own checks with no file.
# Run as: cmake -DPAG12000=... -DWORK=... -P this file.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${PAG12000} seed demo ${WORK}/demo.db RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "seed demo falhou")
endif()

function(export_run out_var err_var rc_var)
  execute_process(COMMAND ${PAG12000} export --db ${WORK}/demo.db --empresa 01 ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${err_var} "${err}" PARENT_SCOPE)
  set(${rc_var} "${rc}" PARENT_SCOPE)
endfunction()

# A year each way: the count printed is the count of rows in the file.
export_run(out err rc --de 01/01/2000 --ate 31/12/2099 --out ${WORK}/todos.csv)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^([0-9]+) boletos exportados para ${WORK}/todos.csv")
  message(FATAL_ERROR "export falhou: ${rc} ${out} ${err}")
endif()
set(all ${CMAKE_MATCH_1})
file(STRINGS ${WORK}/todos.csv lines)
list(LENGTH lines count)
math(EXPR expected "${all} + 1")
if(NOT count EQUAL expected OR all LESS 20)
  message(FATAL_ERROR "todos.csv tem ${count} linhas para ${all} boletos")
endif()

# One supplier: fewer boletos, all of that supplier's name.
export_run(out err rc --de 01/01/2000 --ate 31/12/2099 --fornecedor 000000000000000000009
           --out ${WORK}/um.csv)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^([0-9]+) boletos")
  message(FATAL_ERROR "export de um fornecedor falhou: ${rc} ${out} ${err}")
endif()
if(NOT CMAKE_MATCH_1 GREATER 0 OR NOT CMAKE_MATCH_1 LESS all)
  message(FATAL_ERROR "um fornecedor deu ${CMAKE_MATCH_1} de ${all} boletos")
endif()

# Refusals: a message in Portuguese, exit 1, no file.
foreach(case "--de;31/12/2099;--ate;01/01/2000|Data de vencimento inicial deve ser menor"
             "--fornecedor;999|fornecedor '999' não encontrado"
             "--de;31/02/2020|data inválida em --de")
  string(REPLACE "|" ";" parts "${case}")
  list(POP_BACK parts want)
  export_run(out err rc ${parts} --out ${WORK}/recusado.csv)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "${want}" OR EXISTS ${WORK}/recusado.csv
     OR EXISTS ${WORK}/recusado.csv.tmp)
    message(FATAL_ERROR "'${parts}' deveria recusar com '${want}': ${rc} ${err}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
