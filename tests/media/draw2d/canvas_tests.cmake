# Tests of the drawing front end, both drivers and texture preparation.
list(APPEND MEDIA_DRAW2D_CANVAS_TESTS
  canvas_test_support.cpp
  canvas_test_scenes.cpp
  canvas_front_end_test.cpp
  canvas_pacing_test.cpp
  canvas_texture_data_test.cpp
  canvas_allocation_test.cpp
  canvas_display_window_test.cpp
  device_driver_test.cpp
  soft_driver_test.cpp
  gl_driver_test.cpp
  gl_cpu_renderer_test.cpp
  gl_driver_scaled_test.cpp
  glyph_scale_test.cpp
  recording_driver_test.cpp
)
