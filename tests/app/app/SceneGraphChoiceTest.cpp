// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "SceneGraphChoice.h"

using tessel::GraphicsSetting;
Q_DECLARE_METATYPE(GraphicsSetting)

class SceneGraphChoiceTest : public QObject {
    Q_OBJECT
  private slots:
    // A renderer the user asked for always wins; the software renderer is chosen only for a
    // desktop display where OpenGL can only be rasterised by the processor.
    void softwareOnlyWithoutAGraphicsDevice_data() {
        QTest::addColumn<GraphicsSetting>("setting");
        QTest::addColumn<bool>("software");
        const auto on = [](const char* platform, bool gpu) {
            GraphicsSetting setting;
            setting.platformName = QString::fromLatin1(platform);
            setting.hasGpuDevice = gpu;
            return setting;
        };
        auto forced = [](GraphicsSetting setting, QString GraphicsSetting::*field, QString value) {
            setting.*field = std::move(value);
            return setting;
        };
        QTest::newRow("x11, no device") << on("xcb", false) << true;
        QTest::newRow("wayland, no device") << on("wayland", false) << true;
        QTest::newRow("x11, device") << on("xcb", true) << false;
        QTest::newRow("device, software GL forced")
            << forced(on("xcb", true), &GraphicsSetting::softwareGL, "1") << true;
        QTest::newRow("device, software GL off")
            << forced(on("xcb", true), &GraphicsSetting::softwareGL, "0") << false;
        QTest::newRow("no device, Qt Quick backend chosen")
            << forced(on("xcb", false), &GraphicsSetting::quickBackend, "rhi") << false;
        QTest::newRow("no device, graphics API chosen")
            << forced(on("xcb", false), &GraphicsSetting::rhiBackend, "opengl") << false;
        QTest::newRow("offscreen") << on("offscreen", false) << false;
    }
    void softwareOnlyWithoutAGraphicsDevice() {
        QFETCH(GraphicsSetting, setting);
        QFETCH(bool, software);
        QCOMPARE(tessel::prefersSoftwareSceneGraph(setting), software);
    }
};

QTEST_GUILESS_MAIN(SceneGraphChoiceTest)
#include "SceneGraphChoiceTest.moc"
