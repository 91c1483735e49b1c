# Type libraries from IDL, for the cross build.
#
#   qf_add_typelib(<name> IDL <file.idl> [EMBED <target> ...])
#
# Runs widl on the IDL into ${CMAKE_CURRENT_BINARY_DIR}/<name>/: <base>_h.h
# (the interfaces, for #include), <base>_i.c (IIDs, CLSIDs, LIBID) and
# <base>.tlb. Makes the static library <name>: the GUIDs, with that folder on
# its users' include path; link it from servers and clients alike. Each EMBED
# target (the server) also gets the type library as resource TYPELIB 1, which
# LoadTypeLibEx of the module's own path and TComModule find.

set(QF_WIDL_IMPORTS /usr/include/wine/wine/windows CACHE PATH "IDL files that widl imports (oaidl.idl and kin)")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(qf_widl_arch --win64)
  set(QF_WIDL_TLB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder of stdole2.tlb for importlib")
else()
  set(qf_widl_arch --win32)
  set(QF_WIDL_TLB_DIR /usr/lib/i386-linux-gnu/wine/i386-windows CACHE PATH "Folder of stdole2.tlb for importlib")
endif()

function(qf_add_typelib name)
  cmake_parse_arguments(T "" "IDL" "EMBED" ${ARGN})
  if(NOT WIDL_EXECUTABLE)
    set(WIDL_EXECUTABLE i686-w64-mingw32-widl)
  endif()
  get_filename_component(idl ${T_IDL} ABSOLUTE)
  get_filename_component(base ${T_IDL} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
  set(header ${out}/${base}_h.h)
  set(guids ${out}/${base}_i.c)
  set(tlb ${out}/${base}.tlb)
  file(MAKE_DIRECTORY ${out})
  add_custom_command(
    OUTPUT ${header} ${guids} ${tlb}
    COMMAND ${WIDL_EXECUTABLE} ${qf_widl_arch} -I${QF_WIDL_IMPORTS} -L${QF_WIDL_TLB_DIR}
            -h -H ${header} -u -U ${guids} -t -T ${tlb} ${idl}
    DEPENDS ${idl}
    COMMENT "widl ${base}.idl"
    VERBATIM)
  add_library(${name} STATIC ${guids} ${header} ${tlb})
  target_include_directories(${name} PUBLIC ${out})
  target_link_libraries(${name} PUBLIC ole32 oleaut32 uuid)

  if(T_EMBED)
    set(rc ${out}/${base}_tlb.rc)
    file(WRITE ${rc}.in "1 TYPELIB \"${tlb}\"\n")
    configure_file(${rc}.in ${rc} COPYONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${tlb})
    foreach(t IN LISTS T_EMBED)
      target_sources(${t} PRIVATE ${rc})
      target_link_libraries(${t} PRIVATE ${name})
    endforeach()
  endif()
endfunction()
