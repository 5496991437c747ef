# Debian's build flags with every hardening feature (dpkg-buildflags with
# DEB_BUILD_MAINT_OPTIONS=hardening=+all): stack protector, _FORTIFY_SOURCE, PIE, full RELRO and
# immediate binding, as Debian builds its own packages. Applied to everything built in the folder,
# so that the program, cmake --install and the .deb get the same hardened binary.
find_program(QUORLIS_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT QUORLIS_DPKG_BUILDFLAGS)
  message(FATAL_ERROR "dpkg-buildflags not found: install dpkg-dev (scripts/packages.txt), "
                      "or configure with -DQUORLIS_HARDEN=OFF for an unhardened build")
endif()

function(quorlis_debian_flags name out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${QUORLIS_DPKG_BUILDFLAGS} --get ${name}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-buildflags --get ${name} failed (${status})")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

quorlis_debian_flags(CPPFLAGS quorlis_cppflags)
quorlis_debian_flags(CXXFLAGS quorlis_cxxflags)
quorlis_debian_flags(LDFLAGS quorlis_ldflags)
add_compile_options(${quorlis_cppflags} ${quorlis_cxxflags})
add_link_options(${quorlis_ldflags})
# Position-independent executables, whatever the compiler's default.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
list(JOIN quorlis_cppflags " " shown_cppflags)
list(JOIN quorlis_cxxflags " " shown_cxxflags)
list(JOIN quorlis_ldflags " " shown_ldflags)
message(STATUS "Hardened with Debian's build flags: ${shown_cppflags} ${shown_cxxflags} ${shown_ldflags}")
