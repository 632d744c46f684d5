#pragma once

#include "capture/CaptureDevice.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <linux/videodev2.h>
#include <optional>

namespace vidora {

// What the kernel answers about Video4Linux2 devices. The program asks through this seam so
// that what it makes of the answers can be tested where no camera exists.
class V4l2Kernel {
public:
    virtual ~V4l2Kernel() = default;
    // The device nodes /dev/videoN, in the order of N.
    virtual QStringList deviceNodes() const = 0;
    // VIDIOC_QUERYCAP, VIDIOC_QUERYCTRL, VIDIOC_G_CTRL, VIDIOC_S_CTRL; false when the node
    // cannot be opened or the request fails.
    virtual bool queryCapability(const QString& node, v4l2_capability& capability) const = 0;
    virtual bool queryControl(const QString& node, v4l2_queryctrl& control) const = 0;
    virtual bool getControl(const QString& node, v4l2_control& control) const = 0;
    virtual bool setControl(const QString& node, const v4l2_control& control) const = 0;
};

// The kernel of this computer. Each request opens the node on its own, so the controls work
// while FFmpeg streams from the same device.
class SystemV4l2Kernel final : public V4l2Kernel {
public:
    // devFolder: where the nodes are looked for; /dev but in tests.
    explicit SystemV4l2Kernel(const QString& devFolder = QStringLiteral("/dev"));
    QStringList deviceNodes() const override;
    bool queryCapability(const QString& node, v4l2_capability& capability) const override;
    bool queryControl(const QString& node, v4l2_queryctrl& control) const override;
    bool getControl(const QString& node, v4l2_control& control) const override;
    bool setControl(const QString& node, const v4l2_control& control) const override;

private:
    QString m_devFolder;
};

struct V4l2Device {
    QString node; // "/dev/video0"
    QString card; // the driver's name for it, the list text
};

// The name a device gives itself when it captures video (the device's own capabilities where
// the driver reports them apart from the driver's); nothing for a node that does not capture
// (metadata, output, radio nodes). A device without a name goes by its node.
std::optional<QString> CaptureCardName(const v4l2_capability& capability, const QString& node);

// The range of a control as the window wants it: unsupported when the control is disabled or
// not a plain number.
PropertyRange RangeFromQueryControl(const v4l2_queryctrl& control);

// The V4L2 control that steers a camera property; 0 for roll, which V4L2 does not have.
quint32 V4l2ControlId(CameraProperty property);

// The capture devices among the kernel's nodes, in node order.
QList<V4l2Device> ListV4l2Devices(const V4l2Kernel& kernel);

// Camera properties of one device node.
PropertyRange V4l2PropertyRange(const V4l2Kernel& kernel, const QString& node,
                                CameraProperty property);
std::optional<int> V4l2PropertyValue(const V4l2Kernel& kernel, const QString& node,
                                     CameraProperty property);
bool SetV4l2PropertyValue(const V4l2Kernel& kernel, const QString& node, CameraProperty property,
                          int value);

} // namespace vidora
