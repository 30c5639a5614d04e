# The distribution's hardening flags (dpkg-buildflags with every hardening feature: fortify,
# stack protector, relro, bindnow), so that a package built from an optimised build passes
# the distribution's checks. Only the hardening flags are taken: the build type keeps its own
# optimisation and debug flags. "-Werror=format-security" becomes a plain warning, which
# stops a build only where TRAWLIT_WERROR asks for it.
option(TRAWLIT_HARDENING "Build with the distribution's hardening flags where dpkg-buildflags exists" ON)
# Whether they were applied: only such a build makes packages that the distribution's checks pass.
set(TRAWLIT_HARDENED OFF)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT TRAWLIT_HARDENING OR NOT DPKG_BUILDFLAGS OR TRAWLIT_SANITIZE OR TRAWLIT_TSAN
   OR CMAKE_BUILD_TYPE STREQUAL "Debug")
  return()
endif()

set(hardening_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
if(hardening_options STREQUAL "")
  set(hardening_options "hardening=+all")
endif()

function(trawlit_buildflags variable out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${hardening_options}
                          ${DPKG_BUILDFLAGS} --get ${variable}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(kept)
  foreach(flag IN LISTS flags)
    if(flag MATCHES "^-Werror=(.*)")
      list(APPEND kept "-W${CMAKE_MATCH_1}")
    elseif(flag MATCHES "^(-D_FORTIFY_SOURCE|-U_FORTIFY_SOURCE|-fstack-protector|-fstack-clash|-fcf-protection|-mbranch-protection|-Wformat|-Wl,-z,)")
      list(APPEND kept "${flag}")
    endif()
  endforeach()
  set(${out} ${kept} PARENT_SCOPE)
endfunction()

trawlit_buildflags(CPPFLAGS hardening_cppflags)
trawlit_buildflags(CXXFLAGS hardening_cxxflags)
trawlit_buildflags(LDFLAGS hardening_ldflags)
add_compile_options(${hardening_cppflags} ${hardening_cxxflags})
add_link_options(${hardening_ldflags})
set(TRAWLIT_HARDENED ON)
message(STATUS "Hardening flags: ${hardening_cppflags} ${hardening_cxxflags} ${hardening_ldflags}")
