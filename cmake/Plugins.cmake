# billiards_plugin(<target> SOURCES ... [LIBS ...] [OUTPUT_DIRECTORY dir])
# A control library: a Qt plugin implementing platform::IComponentFactory
# (platform/components/IComponentFactory.h). It lands in build/plugins, the
# folder the component registry searches beside build/bin, unless
# OUTPUT_DIRECTORY says otherwise (tests keep their plugins apart).
function(billiards_plugin name)
  cmake_parse_arguments(P "" "OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  if(NOT P_OUTPUT_DIRECTORY)
    set(P_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins)
  endif()
  add_library(${name} MODULE ${P_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Widgets ${P_LIBS})
  set_target_properties(${name} PROPERTIES
    AUTOMOC ON
    LIBRARY_OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY})
endfunction()
