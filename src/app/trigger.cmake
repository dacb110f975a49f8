target_sources(vantrel_app PRIVATE ${CMAKE_CURRENT_LIST_DIR}/trigger.cpp)
