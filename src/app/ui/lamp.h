#pragma once

#include <QLabel>

namespace ferrox {

// The size of a signal lamp's image, in pixels.
inline constexpr QSize LampImageSize{20, 15};

// One of the signal panel's lamp images (an LED of the given colour),
// LampImageSize large.
QPixmap drawLampImage(const QColor &color);

// A signal lamp: shows a copy of one of the panel's reference images and
// keeps the signal state as a short text tag ("1" active; "0" inactive or
// not sampled; empty before the first sample). Readouts read the tag,
// never the image.
class Lamp : public QLabel
{
    Q_OBJECT

public:
    explicit Lamp(const QString &objectName, QWidget *parent = nullptr);

    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // Copies the picture of a reference image holder (Pic_red, Pic_blk, Pic_glay).
    void showPictureOf(const QLabel *reference);

private:
    QString m_tag;
};

} // namespace ferrox
