# The window program and its test.  Included from app/CMakeLists.txt when
# CASEWRIGHT_BUILD_GUI is on.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

add_library(casewright_gui STATIC
  Main2.cpp
  Main2.h
  gui_prompts.cpp
  gui_prompts.h
  gui_start.cpp
  gui_start.h
)
set_target_properties(casewright_gui PROPERTIES AUTOMOC ON)
target_link_libraries(casewright_gui PUBLIC casewright_core Qt6::Widgets)

add_executable(casewright main.cpp)
target_link_libraries(casewright PRIVATE casewright_gui)
install(TARGETS casewright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

add_executable(main2_test main2_test.cpp)
set_target_properties(main2_test PROPERTIES AUTOMOC ON)
target_link_libraries(main2_test PRIVATE casewright_gui casewright_testing Qt6::Test)
add_test(NAME main2_test COMMAND main2_test)
add_dependencies(main2_test default_tables casewright-cli)
target_compile_definitions(main2_test PRIVATE
  CASEWRIGHT_CLI="$<TARGET_FILE:casewright-cli>"
  CASEWRIGHT_EXAMPLES="${CMAKE_SOURCE_DIR}/data/examples")
# The window tests inject their own tables; only the start-up test opens the
# store, through the alias pointed at the tables the build makes.
set_tests_properties(main2_test PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;CASEWRIGHT_ORBELIN=${CASEWRIGHT_TABLES_DIR}")
