# The fourteen files the program carries, in the order start-up registers them.
set(MUSICDISK_EMBEDDED_FILES
  "gfx/v.png"
  "gfx/o.png"
  "gfx/k.png"
  "sound/fennick - basswobbler.mp3"
  "sound/music.ogg"
  "sound/VorWIP2.mp3"
  "sound/01.mp3"
  "sound/03.mp3"
  "sound/fennick - glw.mp3"
  "gfx/scrollborders.png"
  "gfx/logo.png"
  "gfx/infopad.png"
  "fonts/HoboStd.otf"
  "fonts/Erika_Ormig.ttf"
)
