# Tests of pictures, the PNG loader and image fonts.
list(APPEND MEDIA_DRAW2D_PICTURE_TESTS
  png_test_writer.cpp
  pixmap_test.cpp
  pixmap_loader_test.cpp
  png_loader_test.cpp
  image_test.cpp
  freetype_font_test.cpp
  image_font_test.cpp
  picture_pixels_test.cpp
)
