# Hardening of the program: position-independent executable, read-only
# relocations bound at start-up, fortified libc calls and stack protector.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
option(TALVORA_ENDURECER "Build the program with hardening flags" ON)
if(TALVORA_ENDURECER)
  foreach(_t talvora_nucleo talvora_ventanas talvora)
    set_target_properties(${_t} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_compile_options(${_t} PRIVATE -fstack-protector-strong)
    # Fortification needs the optimiser; a Debug build would only warn.
    target_compile_options(${_t} PRIVATE
      "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  endforeach()
  target_link_options(talvora PRIVATE LINKER:-z,relro,-z,now)
endif()
