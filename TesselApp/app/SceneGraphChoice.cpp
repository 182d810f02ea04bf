// SPDX-License-Identifier: GPL-3.0-or-later
#include "SceneGraphChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

// Why: OpenGL rendered by the processor (Mesa's llvmpipe, on machines without a graphics device
// and in virtual displays) compiles the scene graph's shaders at start-up and rasterises every
// frame through a general pipeline: the first frame came hundreds of milliseconds later, and each
// dictionary keystroke's frames cost the processor many times what the software renderer, which
// paints with the raster engine, costs. The screens use no shader effects, so they look the same.
// Hardware OpenGL on Linux needs a kernel graphics device, so its absence is the cheap, certain
// sign; asking the driver for its renderer's name would load the whole OpenGL stack first.

namespace tessel {

GraphicsSetting currentGraphicsSetting() {
    GraphicsSetting setting;
    setting.quickBackend = qEnvironmentVariable("QT_QUICK_BACKEND");
    setting.rhiBackend = qEnvironmentVariable("QSG_RHI_BACKEND");
    setting.softwareGL = qEnvironmentVariable("LIBGL_ALWAYS_SOFTWARE");
    setting.platformName = QGuiApplication::platformName();
    const QStringList nodes = QDir(QStringLiteral("/dev/dri"))
                                  .entryList({QStringLiteral("card*"), QStringLiteral("renderD*")},
                                             QDir::System | QDir::Files);
    setting.hasGpuDevice = !nodes.isEmpty() || QFileInfo::exists(QStringLiteral("/dev/nvidiactl"));
    return setting;
}

bool prefersSoftwareSceneGraph(const GraphicsSetting& setting) {
    if (!setting.quickBackend.isEmpty() || !setting.rhiBackend.isEmpty()) return false;
    if (setting.platformName != QLatin1String("xcb") &&
        setting.platformName != QLatin1String("wayland")) {
        return false;
    }
    const bool forcedSoftware = !setting.softwareGL.isEmpty() && setting.softwareGL != "0";
    return forcedSoftware || !setting.hasGpuDevice;
}

}  // namespace tessel
