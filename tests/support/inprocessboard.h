#pragma once

#include "board/boardengine.h"
#include "support/fakeserialport.h"

namespace ferrox::test {

// A link port with the simulated board behind it, for running the
// program's exchanges in-process. Whatever the program writes to port()
// reaches the board; the board's answers arrive at the port from the event
// loop, as on a real line. Port settings reach the board when the port is
// opened or set while open, so a wrong link speed gets the board's silence.
// The board streams config.traffic ("demo" unless set); an unusable traffic
// source fails the running test and leaves the traffic empty.
class InProcessBoard
{
public:
    explicit InProcessBoard(const BoardConfig &config = {});

    FakeSerialPort &port() { return m_port; }
    BoardEngine &engine() { return m_engine; }

private:
    FakeSerialPort m_port;
    BoardEngine m_engine;
};

} // namespace ferrox::test
