// Whether this machine can have a graphics processor for OpenGL at all, read from the device
// nodes the kernel makes for one (Linux: /dev/dri/renderD*, /dev/dri/card*, /dev/nvidia*,
// /dev/dxg).
// Without any, OpenGL can only rasterise on the CPU, and a driver that would refuse such a GL
// need not load it to find out: that saves the software GL's start-up and its tens of
// megabytes. Elsewhere (Windows) the answer is always yes: the GL must be asked.
// Depends on: nothing.
#pragma once

namespace media {

// `devices` is the folder of the device nodes; tests give another one.
bool MayHaveGpu(const char* devices = "/dev");

}  // namespace media
