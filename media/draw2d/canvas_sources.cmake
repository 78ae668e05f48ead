# The drawing front end, the drawing state, both drivers and what they share.
list(APPEND MEDIA_DRAW2D_CANVAS_SOURCES
  canvas.cpp
  canvas_graphics.cpp
  frame_pacing.cpp
  display_window.cpp
  device_driver.cpp
  display_drivers.cpp
  texture_data.cpp
  soft/soft_raster.cpp
  soft/soft_frame_record.cpp
  soft/soft_present.cpp
  soft/soft_driver.cpp
  gl/gl_device.cpp
  gl/gl_driver.cpp
  recording/recording_driver.cpp
)
