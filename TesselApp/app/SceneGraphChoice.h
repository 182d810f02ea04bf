// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// What decides the window's renderer: the variables a user or packager may set, the windowing
// system, and the graphics device nodes present.
struct GraphicsSetting {
    QString quickBackend;       // QT_QUICK_BACKEND
    QString rhiBackend;         // QSG_RHI_BACKEND
    QString softwareGL;         // LIBGL_ALWAYS_SOFTWARE
    QString platformName;       // the Qt platform plugin: "xcb", "wayland", "offscreen", ...
    bool hasGpuDevice = false;  // a DRM node under /dev/dri or an NVIDIA node under /dev
};

// The setting of this process. Reads the environment and lists /dev/dri (no graphics library is
// loaded). REQUIRES: the QGuiApplication exists.
GraphicsSetting currentGraphicsSetting();

// True when the window should draw with Qt Quick's software renderer: no renderer was asked for,
// the window goes to a desktop display (X11 or Wayland), and the only OpenGL the machine can
// offer is a software rasteriser (no GPU device, or LIBGL_ALWAYS_SOFTWARE set and not "0").
bool prefersSoftwareSceneGraph(const GraphicsSetting& setting);

}  // namespace tessel
