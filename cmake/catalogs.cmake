# The translations: po/LANG.po for each language po/LINGUAS names, checked
# (msgfmt --check fails the build on a broken one) and compiled to
# CATALOG_DIR/LANG.mo, the GNU .mo files the game reads.
find_program(MSGFMT msgfmt REQUIRED)
file(STRINGS ${CMAKE_SOURCE_DIR}/po/LINGUAS LINGUAS_LINES REGEX "^[^#]")
string(REGEX REPLACE "[ \t]+" ";" BRINEGRAB_LANGUAGES "${LINGUAS_LINES}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/LINGUAS)

function(add_catalogs target dir)
  set(outputs)
  foreach(language ${BRINEGRAB_LANGUAGES})
    set(po ${CMAKE_SOURCE_DIR}/po/${language}.po)
    add_custom_command(
      OUTPUT ${dir}/${language}.mo
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${MSGFMT} --check --statistics --output-file=${dir}/${language}.mo ${po}
      DEPENDS ${po}
      COMMENT "Checking and compiling po/${language}.po"
      VERBATIM)
    list(APPEND outputs ${dir}/${language}.mo)
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()

# The desktop entry and the AppStream metainfo with every language's
# translations, from the same catalogs.
function(translate_desktop_files template_dir out_dir)
  set(po_files)
  foreach(language ${BRINEGRAB_LANGUAGES})
    list(APPEND po_files ${CMAKE_SOURCE_DIR}/po/${language}.po)
  endforeach()
  set(desktop ${BRINEGRAB_APP_ID}.desktop)
  set(metainfo ${BRINEGRAB_APP_ID}.metainfo.xml)
  add_custom_command(
    OUTPUT ${out_dir}/${desktop} ${out_dir}/${metainfo}
    COMMAND ${MSGFMT} --desktop --template=${template_dir}/${desktop}
      -d ${CMAKE_SOURCE_DIR}/po --output-file=${out_dir}/${desktop}
    COMMAND ${MSGFMT} --xml --template=${template_dir}/${metainfo}
      -d ${CMAKE_SOURCE_DIR}/po --output-file=${out_dir}/${metainfo}
    DEPENDS ${template_dir}/${desktop} ${template_dir}/${metainfo} ${po_files}
      ${CMAKE_SOURCE_DIR}/po/LINGUAS
    COMMENT "Translating the desktop entry and the metainfo"
    VERBATIM)
  add_custom_target(desktop_files ALL DEPENDS ${out_dir}/${desktop} ${out_dir}/${metainfo})
endfunction()
