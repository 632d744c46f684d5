#include "capture/V4l2Devices.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vidora {

namespace {

// One request on a freshly opened node. Non-blocking, so a busy or slow driver never holds
// the window.
bool request(const QString& node, unsigned long code, void* argument) {
    const QByteArray path = QFile::encodeName(node);
    int descriptor = -1;
    do {
        descriptor = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return false;
    int result = -1;
    do {
        result = ::ioctl(descriptor, code, argument);
    } while (result < 0 && errno == EINTR);
    ::close(descriptor);
    return result == 0;
}

} // namespace

SystemV4l2Kernel::SystemV4l2Kernel(const QString& devFolder) : m_devFolder(devFolder) {}

QStringList SystemV4l2Kernel::deviceNodes() const {
    static const QRegularExpression kNodeName(QStringLiteral("^video(\\d+)$"));
    QList<std::pair<int, QString>> numbered;
    const QStringList names =
        QDir(m_devFolder).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = kNodeName.match(name);
        if (match.hasMatch())
            numbered.append({match.captured(1).toInt(), QDir(m_devFolder).filePath(name)});
    }
    std::sort(numbered.begin(), numbered.end());
    QStringList nodes;
    for (const auto& [number, node] : numbered)
        nodes << node;
    return nodes;
}

bool SystemV4l2Kernel::queryCapability(const QString& node, v4l2_capability& capability) const {
    std::memset(&capability, 0, sizeof capability);
    return request(node, VIDIOC_QUERYCAP, &capability);
}

bool SystemV4l2Kernel::queryControl(const QString& node, v4l2_queryctrl& control) const {
    return request(node, VIDIOC_QUERYCTRL, &control);
}

bool SystemV4l2Kernel::getControl(const QString& node, v4l2_control& control) const {
    return request(node, VIDIOC_G_CTRL, &control);
}

bool SystemV4l2Kernel::setControl(const QString& node, const v4l2_control& control) const {
    v4l2_control copy = control;
    return request(node, VIDIOC_S_CTRL, &copy);
}

std::optional<QString> CaptureCardName(const v4l2_capability& capability, const QString& node) {
    const quint32 caps = (capability.capabilities & V4L2_CAP_DEVICE_CAPS) ? capability.device_caps
                                                                          : capability.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE))
        return std::nullopt;
    // The kernel's text field need not end in a zero when it fills all 32 bytes.
    const char* card = reinterpret_cast<const char*>(capability.card);
    const QString name =
        QString::fromUtf8(card, qsizetype(strnlen(card, sizeof capability.card))).trimmed();
    return name.isEmpty() ? node : name;
}

PropertyRange RangeFromQueryControl(const v4l2_queryctrl& control) {
    PropertyRange range;
    if ((control.flags & V4L2_CTRL_FLAG_DISABLED) || control.type != V4L2_CTRL_TYPE_INTEGER ||
        control.minimum > control.maximum) {
        range.resultCode = kPropertyUnsupported;
        return range;
    }
    range.resultCode = 0;
    range.minimum = control.minimum;
    range.maximum = control.maximum;
    range.step = control.step;
    range.defaultValue = control.default_value;
    range.flags = int(control.flags);
    return range;
}

quint32 V4l2ControlId(CameraProperty property) {
    switch (property) {
    case CameraProperty::Pan:
        return V4L2_CID_PAN_ABSOLUTE;
    case CameraProperty::Tilt:
        return V4L2_CID_TILT_ABSOLUTE;
    case CameraProperty::Roll:
        return 0;
    case CameraProperty::Zoom:
        return V4L2_CID_ZOOM_ABSOLUTE;
    }
    return 0;
}

QList<V4l2Device> ListV4l2Devices(const V4l2Kernel& kernel) {
    QList<V4l2Device> devices;
    for (const QString& node : kernel.deviceNodes()) {
        v4l2_capability capability{};
        // A node that cannot be asked (busy, no permission) is left out of the list.
        if (!kernel.queryCapability(node, capability))
            continue;
        if (const std::optional<QString> card = CaptureCardName(capability, node))
            devices.append({node, *card});
    }
    return devices;
}

PropertyRange V4l2PropertyRange(const V4l2Kernel& kernel, const QString& node,
                                CameraProperty property) {
    PropertyRange unsupported;
    unsupported.resultCode = kPropertyUnsupported;
    const quint32 id = V4l2ControlId(property);
    if (id == 0)
        return unsupported;
    v4l2_queryctrl control{};
    control.id = id;
    if (!kernel.queryControl(node, control))
        return unsupported;
    return RangeFromQueryControl(control);
}

std::optional<int> V4l2PropertyValue(const V4l2Kernel& kernel, const QString& node,
                                     CameraProperty property) {
    const quint32 id = V4l2ControlId(property);
    if (id == 0)
        return std::nullopt;
    v4l2_control control{};
    control.id = id;
    if (!kernel.getControl(node, control))
        return std::nullopt;
    return control.value;
}

bool SetV4l2PropertyValue(const V4l2Kernel& kernel, const QString& node, CameraProperty property,
                          int value) {
    const quint32 id = V4l2ControlId(property);
    if (id == 0)
        return false;
    v4l2_control control{};
    control.id = id;
    control.value = value;
    return kernel.setControl(node, control);
}

} // namespace vidora
