# Per-file compile flags, included by the top CMakeLists.

# The pattern generator's vector kernels pick their instruction sets per function (target
# attributes). MinGW-w64 GCC does not realign the stack for 32- and 64-byte vectors, so an aligned
# spill there would fault; let the assembler turn aligned vector moves into unaligned ones.
if(WIN32)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/engine/pattern_simd.cpp PROPERTIES
    COMPILE_OPTIONS "-Wa,-muse-unaligned-vector-move")
endif()
