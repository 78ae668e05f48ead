# Pictures, the pixmap loaders and image fonts.
list(APPEND MEDIA_DRAW2D_PICTURE_SOURCES
  pixmap.cpp
  pixmap_loader.cpp
  png_loader.cpp
  image.cpp
  freetype_font.cpp
  image_font.cpp
  default_font.cpp
)
