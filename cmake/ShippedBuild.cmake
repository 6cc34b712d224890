# The shipped files are built in a tree of their own inside this one, with
# another toolchain, and written into <output_dir>. Its target <name> stands
# for them; TRELUN_<NAME>_EXE, TRELUN_<NAME>_SHIM and TRELUN_<NAME>_UNMCHECK
# name the files (TRELUN_SHIPPED_EXE for the target "shipped").
include(ExternalProject)

function(trelun_add_shipped_build name toolchain output_dir)
  set(files ${output_dir}/trelun08.exe ${output_dir}/VSPOOL08.dll ${output_dir}/unmcheck.exe)
  ExternalProject_Add(${name}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${name}
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${toolchain}
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DTRELUN_SHIPPED_ONLY=ON
      -DTRELUN_OUTPUT_DIR=${output_dir}
      -DTRELUN_WARNINGS_AS_ERRORS=${TRELUN_WARNINGS_AS_ERRORS}
    INSTALL_COMMAND ""
    # Its own build tool decides what is out of date.
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${files})
  list(GET files 0 exe)
  list(GET files 1 shim)
  list(GET files 2 unmcheck)
  string(TOUPPER ${name} prefix)
  set(TRELUN_${prefix}_EXE ${exe} PARENT_SCOPE)
  set(TRELUN_${prefix}_SHIM ${shim} PARENT_SCOPE)
  set(TRELUN_${prefix}_UNMCHECK ${unmcheck} PARENT_SCOPE)
endfunction()
