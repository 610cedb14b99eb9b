# zulprueba's practice pieces, plain code without Qt: the turns of a recorded race and the copy
# of the installed template. zulprueba's --carrera and --plantilla options are built on them.
add_library(zulprueba_practica STATIC ${CMAKE_CURRENT_LIST_DIR}/carrera_turnos.h
                                      ${CMAKE_CURRENT_LIST_DIR}/carrera_turnos.cpp
                                      ${CMAKE_CURRENT_LIST_DIR}/plantilla.h
                                      ${CMAKE_CURRENT_LIST_DIR}/plantilla.cpp)
target_include_directories(zulprueba_practica PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(zulprueba_practica PRIVATE zulmotivos zul_avisos)
file(RELATIVE_PATH zul_plantilla_relativa ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/zul/plantilla)
target_compile_definitions(zulprueba_practica PRIVATE
  ZUL_PLANTILLA_RELATIVA="${zul_plantilla_relativa}"
  ZUL_PLANTILLA_FUENTE="${PROJECT_SOURCE_DIR}/plantilla")
