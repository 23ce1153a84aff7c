// The export formats' rows; tshark reads the pcap in the end-to-end test.
#include "data/datatesting.h"

#include "timeline/exportformats.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

QByteArray exported(const QByteArray &stream, const std::optional<ArrivalTimes> &times, ExportFormat format)
{
    return exportBytes(assembleMonitoredBytes(streamOf(stream)), times, format);
}

} // namespace

TEST(Export, RowsOfEveryFormat)
{
    // J1 sends ',' and '"' (characters CSV must quote), J2 answers ACK,
    // 0xB1 (half-width katakana) and 0xFF; the J2 piece arrives 2.5 ms in.
    const QByteArray stream = byJ1(",\"") + byJ2("\x06\xB1\xFF") + endCode();
    ArrivalTimes times;
    times.arrivals = {{0, 1000}, {4, 3500}};
    struct Case { const char *name; QByteArray stream; std::optional<ArrivalTimes> times; ExportFormat format; const char *text; };
    const Case cases[] = {
        {"csv with times", stream, times, ExportFormat::Csv,
         "index,direction,hex,decimal,character,arrival_us\r\n"
         "0,J1,2C,44,\",\",1000\r\n"
         "1,J1,22,34,\"\"\"\",1000\r\n"
         "2,J2,06,6,[ACK],3500\r\n"
         "3,J2,B1,177,\xEF\xBD\xB1,3500\r\n"
         "4,J2,FF,255,,3500\r\n"},
        {"json lines without times", stream, std::nullopt, ExportFormat::JsonLines,
         "{\"index\":0,\"direction\":\"J1\",\"hex\":\"2C\",\"decimal\":44,\"character\":\",\",\"arrival_us\":null}\n"
         "{\"index\":1,\"direction\":\"J1\",\"hex\":\"22\",\"decimal\":34,\"character\":\"\\\"\",\"arrival_us\":null}\n"
         "{\"index\":2,\"direction\":\"J2\",\"hex\":\"06\",\"decimal\":6,\"character\":\"[ACK]\",\"arrival_us\":null}\n"
         "{\"index\":3,\"direction\":\"J2\",\"hex\":\"B1\",\"decimal\":177,\"character\":\"\xEF\xBD\xB1\",\"arrival_us\":null}\n"
         "{\"index\":4,\"direction\":\"J2\",\"hex\":\"FF\",\"decimal\":255,\"character\":\"\",\"arrival_us\":null}\n"},
        // A J2 high nibble interrupts J1's second byte: the rows stop before it.
        {"faulty, as far as sound", byJ1("A") + bytes({0xA4, 0x80, 0xB2}) + endCode(), std::nullopt, ExportFormat::Csv,
         "index,direction,hex,decimal,character,arrival_us\r\n0,J1,41,65,A,\r\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(exported(c.stream, c.times, c.format), QByteArray(c.text)) << c.name;
}
