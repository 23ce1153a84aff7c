#include "stxetxdecoder.h"

#include "blockchecks.h"
#include "framecharacters.h"
#include "texts.h"

namespace ferrox {

namespace {

constexpr char STX = 0x02, ETX = 0x03;

} // namespace

qsizetype StxEtxDecoder::checkLength() const
{
    switch (m_check) {
    case BlockCheck::None: return 0;
    case BlockCheck::Xor:
    case BlockCheck::Sum: return 1;
    case BlockCheck::Crc16: return 2;
    }
    return 0;
}

qsizetype StxEtxDecoder::firstFrameLength(QByteArrayView bytes) const
{
    if (bytes.isEmpty() || bytes.front() != STX) {
        const qsizetype stx = bytes.indexOf(STX);
        return stx > 0 ? stx : bytes.size();
    }
    const qsizetype etx = bytes.indexOf(ETX, 1);
    return etx < 0 ? bytes.size() : std::min(bytes.size(), etx + 1 + checkLength());
}

void StxEtxDecoder::decodeFrame(Frame &frame) const
{
    const QByteArrayView bytes(frame.bytes);
    if (bytes.isEmpty() || bytes.front() != STX) {
        frame.summary = frameText(bytes);
        return;
    }
    const qsizetype etx = bytes.indexOf(ETX, 1);
    if (etx < 0) {
        frame.summary = frameText(bytes.sliced(1));
        frame.fail(FrameKind::Length, FrameTexts::noEtx());
        return;
    }
    frame.summary = frameText(bytes.sliced(1, etx - 1));
    const QByteArrayView checked = bytes.sliced(1, etx);
    const QByteArrayView received = bytes.sliced(etx + 1);
    if (received.size() < checkLength()) {
        frame.fail(FrameKind::Length, FrameTexts::cutShort());
        return;
    }
    QByteArray computed;
    QString name;
    switch (m_check) {
    case BlockCheck::None:
        frame.verdict = FrameVerdict::Good;
        return;
    case BlockCheck::Xor:
        computed = QByteArray(1, char(xorCheck(checked)));
        name = QStringLiteral("BCC");
        break;
    case BlockCheck::Sum:
        computed = QByteArray(1, char(sumCheck(checked)));
        name = QStringLiteral("SUM");
        break;
    case BlockCheck::Crc16:
        computed = crc16ModbusBytes(checked);
        name = QStringLiteral("CRC");
        break;
    }
    const QByteArrayView got = received.first(checkLength());
    if (got == computed)
        frame.verdict = FrameVerdict::Good;
    else
        frame.fail(FrameKind::Crc, FrameTexts::checkFailed(name, frameHex(computed), frameHex(got)));
}

} // namespace ferrox
