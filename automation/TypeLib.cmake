# Type libraries from IDL, for the cross build.
#
#   qf_add_typelib(<target> <file.idl>)
#
# Runs widl on the IDL into ${CMAKE_CURRENT_BINARY_DIR}/typelib/: <base>_h.h
# (interfaces, for #include), <base>_i.c (IIDs, CLSIDs, LIBID) and <base>.tlb.
# The GUID file is compiled into <target>, the type library is embedded as
# resource TYPELIB 1 (what LoadTypeLibEx of the module's own path finds), and
# the folder is added to <target>'s include path.

set(QF_WIDL_IMPORTS /usr/include/wine/wine/windows CACHE PATH "IDL files that widl imports (oaidl.idl and kin)")
set(QF_WIDL_TLB_DIR /usr/lib/i386-linux-gnu/wine/i386-windows CACHE PATH "Folder of stdole2.tlb for importlib")

function(qf_add_typelib target idl)
  if(NOT WIDL_EXECUTABLE)
    set(WIDL_EXECUTABLE i686-w64-mingw32-widl)
  endif()
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  get_filename_component(base ${idl} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/typelib)
  set(header ${out}/${base}_h.h)
  set(guids ${out}/${base}_i.c)
  set(tlb ${out}/${base}.tlb)
  set(rc ${out}/${base}_tlb.rc)
  add_custom_command(
    OUTPUT ${header} ${guids} ${tlb}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${WIDL_EXECUTABLE} --win32 -I${QF_WIDL_IMPORTS} -L${QF_WIDL_TLB_DIR}
            -h -H ${header} -u -U ${guids} -t -T ${tlb} ${idl_abs}
    DEPENDS ${idl_abs}
    COMMENT "widl ${base}.idl"
    VERBATIM)
  file(MAKE_DIRECTORY ${out})
  file(WRITE ${rc}.in "1 TYPELIB \"${tlb}\"\n")
  configure_file(${rc}.in ${rc} COPYONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${tlb})
  target_sources(${target} PRIVATE ${header} ${guids} ${rc})
  target_include_directories(${target} PRIVATE ${out})
endfunction()
