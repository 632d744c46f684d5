#include "capture/SystemCaptureDevice.h"
#include "capture/V4l2Devices.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace vidora {
namespace {

// Answers as a kernel with the scripted nodes would, and notes the controls set.
class FakeKernel : public V4l2Kernel {
public:
    QStringList nodes;
    QMap<QString, v4l2_capability> capabilities;
    QMap<quint32, v4l2_queryctrl> controls; // the same for every node
    QMap<quint32, int> values;
    mutable QStringList set;

    QStringList deviceNodes() const override { return nodes; }
    bool queryCapability(const QString& node, v4l2_capability& capability) const override {
        if (!capabilities.contains(node))
            return false;
        capability = capabilities.value(node);
        return true;
    }
    bool queryControl(const QString&, v4l2_queryctrl& control) const override {
        if (!controls.contains(control.id))
            return false; // EINVAL: the driver does not know the control
        control = controls.value(control.id);
        return true;
    }
    bool getControl(const QString&, v4l2_control& control) const override {
        if (!values.contains(control.id))
            return false;
        control.value = values.value(control.id);
        return true;
    }
    bool setControl(const QString& node, const v4l2_control& control) const override {
        set << QStringLiteral("%1 %2=%3").arg(node).arg(control.id).arg(control.value);
        return true;
    }
};

v4l2_capability capability(const char* card, quint32 capabilities, quint32 deviceCaps = 0) {
    v4l2_capability result{};
    std::strncpy(reinterpret_cast<char*>(result.card), card, sizeof result.card);
    result.capabilities = capabilities;
    result.device_caps = deviceCaps;
    return result;
}

v4l2_queryctrl integerControl(quint32 id, int minimum, int maximum, int step, int defaultValue,
                              quint32 flags = 0) {
    v4l2_queryctrl control{};
    control.id = id;
    control.type = V4L2_CTRL_TYPE_INTEGER;
    control.minimum = minimum;
    control.maximum = maximum;
    control.step = step;
    control.default_value = defaultValue;
    control.flags = flags;
    return control;
}

TEST(V4l2DeviceList, ListsTheNodesThatCaptureVideoWithTheirCardNames) {
    FakeKernel kernel;
    kernel.nodes = {"/dev/video0", "/dev/video1", "/dev/video2", "/dev/video3", "/dev/video4"};
    // A UVC camera: its capture node and its metadata node share the driver's capabilities.
    const quint32 uvc =
        V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_DEVICE_CAPS;
    kernel.capabilities["/dev/video0"] =
        capability("HD Pro Webcam C920", uvc, V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING);
    kernel.capabilities["/dev/video1"] =
        capability("HD Pro Webcam C920", uvc, V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING);
    // An old driver without device capabilities; an output-only device; video3 cannot be
    // opened (busy or no permission).
    kernel.capabilities["/dev/video2"] = capability("Old TV card", V4L2_CAP_VIDEO_CAPTURE);
    kernel.capabilities["/dev/video4"] = capability("Loop out", V4L2_CAP_VIDEO_OUTPUT);

    const QList<V4l2Device> devices = ListV4l2Devices(kernel);
    ASSERT_EQ(devices.size(), 2);
    EXPECT_EQ(devices[0].node, QStringLiteral("/dev/video0"));
    EXPECT_EQ(devices[0].card, QStringLiteral("HD Pro Webcam C920"));
    EXPECT_EQ(devices[1].node, QStringLiteral("/dev/video2"));
    EXPECT_EQ(devices[1].card, QStringLiteral("Old TV card"));
}

TEST(V4l2DeviceList, ReadsCardNamesThatFillTheFieldOrAreEmpty) {
    // 32 bytes of name and no terminating zero: the kernel copies no more than the field holds.
    v4l2_capability full = capability("", V4L2_CAP_VIDEO_CAPTURE);
    std::memset(full.card, 'A', sizeof full.card);
    std::memcpy(full.bus_info, "usb-0000:00:14.0-1", 18); // the field after it
    EXPECT_EQ(CaptureCardName(full, QStringLiteral("/dev/video0")), QString(32, u'A'));

    EXPECT_EQ(CaptureCardName(capability("  ", V4L2_CAP_VIDEO_CAPTURE), "/dev/video7"),
              QStringLiteral("/dev/video7"));
    EXPECT_EQ(CaptureCardName(capability("Kamera \xc3\xa4", V4L2_CAP_VIDEO_CAPTURE), "/dev/v"),
              QStringLiteral("Kamera ä"));
    EXPECT_EQ(CaptureCardName(capability("Radio", V4L2_CAP_RADIO), "/dev/v"), std::nullopt);
}

TEST(V4l2CameraControls, MapPanTiltZoomAndReportRollUnsupported) {
    FakeKernel kernel;
    kernel.controls[V4L2_CID_PAN_ABSOLUTE] =
        integerControl(V4L2_CID_PAN_ABSOLUTE, -36000, 36000, 3600, 0);
    // Tilt known but disabled by the driver (for example in another mode).
    kernel.controls[V4L2_CID_TILT_ABSOLUTE] =
        integerControl(V4L2_CID_TILT_ABSOLUTE, -36000, 36000, 3600, 0, V4L2_CTRL_FLAG_DISABLED);
    kernel.controls[V4L2_CID_ZOOM_ABSOLUTE] =
        integerControl(V4L2_CID_ZOOM_ABSOLUTE, 100, 500, 1, 100, V4L2_CTRL_FLAG_SLIDER);
    kernel.values[V4L2_CID_PAN_ABSOLUTE] = 7200;
    kernel.values[V4L2_CID_ZOOM_ABSOLUTE] = 250;
    const QString node = QStringLiteral("/dev/video0");

    const PropertyRange pan = V4l2PropertyRange(kernel, node, CameraProperty::Pan);
    EXPECT_TRUE(pan.supported());
    EXPECT_EQ(pan.minimum, -36000);
    EXPECT_EQ(pan.maximum, 36000);
    EXPECT_EQ(pan.step, 3600);
    EXPECT_FALSE(V4l2PropertyRange(kernel, node, CameraProperty::Tilt).supported());
    EXPECT_FALSE(V4l2PropertyRange(kernel, node, CameraProperty::Roll).supported());
    const PropertyRange zoom = V4l2PropertyRange(kernel, node, CameraProperty::Zoom);
    EXPECT_TRUE(zoom.supported());
    EXPECT_EQ(zoom.minimum, 100);
    EXPECT_EQ(zoom.maximum, 500);
    EXPECT_EQ(zoom.defaultValue, 100);
    EXPECT_EQ(zoom.flags, int(V4L2_CTRL_FLAG_SLIDER));

    EXPECT_EQ(V4l2PropertyValue(kernel, node, CameraProperty::Pan), 7200);
    EXPECT_EQ(V4l2PropertyValue(kernel, node, CameraProperty::Zoom), 250);
    EXPECT_EQ(V4l2PropertyValue(kernel, node, CameraProperty::Roll), std::nullopt);
    EXPECT_TRUE(SetV4l2PropertyValue(kernel, node, CameraProperty::Zoom, 300));
    EXPECT_FALSE(SetV4l2PropertyValue(kernel, node, CameraProperty::Roll, 1));
    EXPECT_EQ(kernel.set,
              QStringList({QStringLiteral("/dev/video0 %1=300").arg(V4L2_CID_ZOOM_ABSOLUTE)}));

    // A control the driver does not know at all, or one that is not a plain number.
    FakeKernel bare;
    EXPECT_FALSE(V4l2PropertyRange(bare, node, CameraProperty::Pan).supported());
    v4l2_queryctrl menu = integerControl(V4L2_CID_ZOOM_ABSOLUTE, 0, 3, 1, 0);
    menu.type = V4L2_CTRL_TYPE_MENU;
    EXPECT_FALSE(RangeFromQueryControl(menu).supported());
}

TEST(V4l2DeviceList, TheCaptureDeviceOffersV4l2ControlsOnlyForV4l2Devices) {
    auto kernel = std::make_unique<FakeKernel>();
    kernel->nodes = {"/dev/video0"};
    kernel->capabilities["/dev/video0"] = capability("PTZ camera", V4L2_CAP_VIDEO_CAPTURE);
    kernel->controls[V4L2_CID_ZOOM_ABSOLUTE] = integerControl(V4L2_CID_ZOOM_ABSOLUTE, 0, 9, 1, 0);
    kernel->values[V4L2_CID_ZOOM_ABSOLUTE] = 4;
    qputenv(kTestPatternVariable, "1");
    CaptureSession::Tools tools; // nothing is started: no preview window is given
    SystemCaptureDevice device(std::move(kernel), &tools);
    qunsetenv(kTestPatternVariable);
    ASSERT_EQ(device.deviceCount(), 2);
    EXPECT_EQ(device.deviceName(0), QStringLiteral("PTZ camera"));
    EXPECT_EQ(device.deviceName(1), QStringLiteral("Test pattern"));

    device.setSelectedDevice(0);
    EXPECT_TRUE(device.propertyRange(CameraProperty::Zoom).supported());
    EXPECT_EQ(device.propertyValue(CameraProperty::Zoom), 4);
    EXPECT_FALSE(device.propertyRange(CameraProperty::Roll).supported());
    device.setSelectedDevice(1);
    for (int i = 0; i < kCameraPropertyCount; ++i)
        EXPECT_FALSE(device.propertyRange(CameraProperty(i)).supported()) << i;
}

TEST(V4l2DeviceList, TheTestPatternIsOfferedOnlyWhenAskedFor) {
    FakeKernel none;
    EXPECT_TRUE(ListCaptureSources(none, false, false).isEmpty());
    const QList<CaptureSource> sources = ListCaptureSources(none, true, true);
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(sources[0].kind, CaptureSourceKind::FireWireDv);
    EXPECT_EQ(sources[1].kind, CaptureSourceKind::TestPattern);
    EXPECT_EQ(sources[1].name, QStringLiteral("Test pattern"));

    for (const char* value : {"", "0", "yes", "true"}) {
        qputenv(kTestPatternVariable, value);
        CaptureSession::Tools tools;
        SystemCaptureDevice device(std::make_unique<FakeKernel>(), &tools);
        EXPECT_EQ(device.deviceCount(), 0) << value;
    }
    qunsetenv(kTestPatternVariable);
}

TEST(SystemV4l2Kernel, ListsNothingOnAComputerWithoutVideoDevices) {
    // Neither this computer nor CI has a camera; the real listing must come back empty, cleanly.
    if (!QDir(QStringLiteral("/dev")).entryList({QStringLiteral("video*")}, QDir::System).isEmpty())
        GTEST_SKIP() << "this computer has video devices";
    SystemV4l2Kernel kernel;
    EXPECT_TRUE(kernel.deviceNodes().isEmpty());
    EXPECT_TRUE(ListV4l2Devices(kernel).isEmpty());
}

TEST(SystemV4l2Kernel, OrdersNodesByNumberAndSkipsNodesThatAreNoDevices) {
    QTemporaryDir dev;
    ASSERT_TRUE(dev.isValid());
    for (const char* name : {"video10", "video2", "video0", "videoX", "media0"}) {
        QFile file(dev.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    SystemV4l2Kernel kernel(dev.path());
    EXPECT_EQ(kernel.deviceNodes(), QStringList({dev.filePath("video0"), dev.filePath("video2"),
                                                 dev.filePath("video10")}));
    // Plain files answer no V4L2 request.
    v4l2_capability answer{};
    EXPECT_FALSE(kernel.queryCapability(dev.filePath("video0"), answer));
    EXPECT_TRUE(ListV4l2Devices(kernel).isEmpty());
    EXPECT_FALSE(kernel.queryCapability(dev.filePath("video99"), answer));
}

} // namespace
} // namespace vidora
