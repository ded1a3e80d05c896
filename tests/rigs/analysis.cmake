# The sweep analysis and rig-analyze, shared by the rigs and the sound benchmark. Optimised even in
# debug builds: it measures minutes of samples.
if(NOT TARGET drovane_rig_analysis)
  set(_rig_dir ${CMAKE_CURRENT_LIST_DIR})
  add_library(drovane_rig_analysis STATIC
    ${_rig_dir}/sample_file.cpp ${_rig_dir}/spectrum.cpp ${_rig_dir}/sweep_analysis.cpp)
  target_include_directories(drovane_rig_analysis PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(drovane_rig_analysis PRIVATE -O2)
  drovane_strict_warnings(drovane_rig_analysis)

  drovane_add_program(rig-analyze ${_rig_dir}/rig_analyze.cpp)
  target_link_libraries(rig-analyze PRIVATE drovane_rig_analysis)
  drovane_add_program(rig-capture ${_rig_dir}/rig_capture.cpp)
endif()
