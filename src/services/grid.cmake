target_sources(vantrel_services PRIVATE ${CMAKE_CURRENT_LIST_DIR}/grid.cpp)
