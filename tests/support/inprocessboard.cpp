#include "inprocessboard.h"

#include "board/traffic.h"

#include <gtest/gtest.h>

namespace ferrox::test {

namespace {

QByteArray trafficOf(const BoardConfig &config)
{
    QString error;
    const std::optional<QByteArray> traffic = loadTraffic(config.traffic, error);
    if (!traffic)
        ADD_FAILURE() << "in-process board: " << error.toStdString();
    return traffic.value_or(QByteArray());
}

} // namespace

InProcessBoard::InProcessBoard(const BoardConfig &config)
    : m_engine(config, trafficOf(config))
{
    m_engine.setLinkSettings(m_port.settings());
    QObject::connect(&m_port, &FakeSerialPort::settingsApplied, &m_engine, &BoardEngine::setLinkSettings);
    QObject::connect(&m_port, &FakeSerialPort::bytesWritten, &m_engine, &BoardEngine::receive);
    QObject::connect(&m_engine, &BoardEngine::output, &m_port, &FakeSerialPort::deliver);
}

} // namespace ferrox::test
