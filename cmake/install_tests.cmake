# What a desktop and a distribution read from an installed copy, checked on
# a fresh install into a temporary prefix, and the .deb started headless from
# a temporary root. Label "install": run once, with the default build.
add_test(NAME install_tree
  COMMAND ${CMAKE_SOURCE_DIR}/tests/install_check.sh
    ${CMAKE_BINARY_DIR} ${BRINEGRAB_APP_ID} ${PROJECT_VERSION})
add_test(NAME deb_package
  COMMAND ${CMAKE_SOURCE_DIR}/tests/package_check.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install_tree deb_package PROPERTIES LABELS install TIMEOUT 120)
