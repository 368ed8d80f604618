#include "CommandLine.h"

#include <algorithm>
#include <charconv>

namespace kt41::sim {

namespace {

std::optional<long> Number(const std::string& text, long low, long high) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// A decimal number with a point or a comma, within [low, high].
std::optional<double> Decimal(std::string text, double low, double high) {
    std::replace(text.begin(), text.end(), ',', '.');
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value >= low && value <= high)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<SimCommandLine> ParseSimCommandLine(const std::vector<std::string>& args,
                                                  std::string* error) {
    SimCommandLine cl;
    auto fail = [&](const std::string& reason) -> std::optional<SimCommandLine> {
        *error = reason;
        return std::nullopt;
    };
    auto transport = [&](SimCommandLine::Transport t) {
        if (cl.Mode != SimCommandLine::Transport::None) {
            return false;
        }
        cl.Mode = t;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* {
            return i + 1 < args.size() ? &args[++i] : nullptr;
        };
        auto number = [&](long low, long high) -> std::optional<long> {
            const std::string* v = value();
            return v != nullptr ? Number(*v, low, high) : std::nullopt;
        };
        if (a == "--help" || a == "-h") {
            cl.Help = true;
        } else if (a == "--pty") {
            if (!transport(SimCommandLine::Transport::Pty)) {
                return fail("give only one of --pty, --tcp, --device");
            }
        } else if (a == "--tcp") {
            const auto port = number(0, 65535);
            if (!port) {
                return fail("--tcp needs a port number 0..65535");
            }
            if (!transport(SimCommandLine::Transport::Tcp)) {
                return fail("give only one of --pty, --tcp, --device");
            }
            cl.TcpPort = std::uint16_t(*port);
        } else if (a == "--device") {
            const std::string* path = value();
            if (path == nullptr) {
                return fail("--device needs a path");
            }
            if (!transport(SimCommandLine::Transport::Device)) {
                return fail("give only one of --pty, --tcp, --device");
            }
            cl.DevicePath = *path;
        } else if (a == "--baud") {
            const auto baud = number(300, 921600);
            if (!baud) {
                return fail("--baud needs a baud rate 300..921600");
            }
            cl.Baud = std::uint32_t(*baud);
        } else if (a == "--address") {
            const auto address = number(1, 247);
            if (!address) {
                return fail("--address needs a unit address 1..247");
            }
            cl.Address = std::uint8_t(*address);
        } else if (a == "--any-address") {
            cl.AnyAddress = true;
        } else if (a == "--serial") {
            const auto serial = number(0, 65535);
            if (!serial) {
                return fail("--serial needs a number 0..65535");
            }
            cl.SerialNumber = std::uint16_t(*serial);
        } else if (a == "--archive-days") {
            const auto days = number(0, 3650);
            if (!days) {
                return fail("--archive-days needs a number of days 0..3650");
            }
            cl.ArchiveDays = int(*days);
        } else if (a == "--resistance" || a == "--current") {
            const bool resistance = a == "--resistance";
            const std::string* v = value();
            const auto source =
                v != nullptr ? (resistance ? Decimal(*v, 10.0, 400.0) : Decimal(*v, 0.0, 25.0))
                             : std::nullopt;
            if (!source) {
                return fail(resistance ? "--resistance needs ohms 10..400, e.g. 92.16"
                                       : "--current needs milliamperes 0..25, e.g. 4");
            }
            (resistance ? cl.Resistance : cl.Current) = *source;
        } else if (a == "--hold") {
            cl.Hold = true;
        } else if (a == "--verbose" || a == "-v") {
            cl.Verbose = true;
        } else if (a == "--fault") {
            const std::string* description = value();
            if (description == nullptr) {
                return fail("--fault needs a fault description");
            }
            std::string why;
            const auto fault = ParseFault(*description, &why);
            if (!fault) {
                return fail("--fault " + *description + ": " + why);
            }
            cl.Faults.push_back(*fault);
        } else {
            return fail("unknown option " + a);
        }
    }
    if (!cl.Help && cl.Mode == SimCommandLine::Transport::None) {
        return fail("give one of --pty, --tcp PORT, --device PATH");
    }
    if (cl.Mode == SimCommandLine::Transport::Pty || cl.Mode == SimCommandLine::Transport::Device) {
        for (const Fault& f : cl.Faults) {
            if (TcpOnly(f.Kind)) {
                return fail("--fault " + std::string(FaultKindName(f.Kind)) +
                            " needs --tcp: RTU frames carry no transaction id");
            }
        }
    }
    return cl;
}

std::string SimHelpText() {
    return R"(Usage: kt41-sim (--pty | --tcp PORT | --device PATH) [options]

Plays a KT-41 heating controller on a Modbus line, so that the configuration
tool can be tried and tested without hardware. The controller holds every
configuration block, shows live readings with events, keeps an hourly archive
of the past weeks (with a few gaps), runs a clock, and follows manual control.
It runs until interrupted (Ctrl+C).

Transport (exactly one):
  --pty              Modbus RTU on a new pseudo-terminal. Its device path is
                     printed as the first line on standard output; use it as
                     the tool's port name.
  --tcp PORT         Modbus TCP on 127.0.0.1:PORT (0 picks a free port). Prints
                     the port name to use, tcp://127.0.0.1:PORT.
  --device PATH      Modbus RTU on a serial device, e.g. one end of a null-modem
                     cable or of a socat pty pair; 8N1.

Controller:
  --address N        network (unit) address, 1..247; default 1
  --any-address      answer every unit address (the answer carries the address
                     asked for), so any address typed into the tool connects
  --serial N         serial number 0..65535; default 12345
  --archive-days N   days of hourly archive before now; default 40

Calibration (the engineer's reference sources):
  --resistance OHMS  a resistor of OHMS on the thermometer inputs, e.g. 92.16
                     or 146,07: the temperature converter code settles to its
                     code (linear, 18250 at 92.16 and 28950 at 146.07 ohms;
                     88 ohms or less gives a code below 17500, a faulty channel)
  --current MA       a current of MA milliamperes on the 4-20 mA inputs: the
                     pressure converter code settles to its code (6000 at 4 mA,
                     30000 at 20 mA)
                     Each read moves a code four fifths of the way to the
                     source's code, with a noise of a few codes. A written
                     calibration block is kept and read back.

Line:
  --baud N           with --device: the device's baud rate (default 9600);
                     with --pty or --tcp: emulate a line of N baud, 10 bits per
                     character and 3.5 characters between frames (default: no
                     emulation, answers at once)
  --hold             hold the port so that clients find it busy: the
                     pseudo-terminal is locked as if another program had it
                     open; TCP connections are refused

Faults (repeatable; rules are tried in order):
  --fault KIND[,function=NAME][,skip=N][,count=N][,code=N][,delay=MS][,gap=MS]
      KIND    no-answer     ignore the request (a write is not applied)
              bad-crc       corrupt the answer's CRC (over TCP: its header)
              truncated     send only the first half of the answer
              exception     answer with an exception (a write is not applied)
              late-reply    answer after a delay
              wrong-unit    answer correctly, but from the next unit address
              wrong-length  answer with one register too many
              drip          send the answer one byte at a time, a gap before
                            each byte (a slow gateway)
              answer-twice  send the answer twice
              repeat-previous
                            carry the request out, but send the previous answer
                            of the connection again, transaction id and all,
                            instead of its own (a gateway with a stale buffer);
                            --tcp only
              next-id       answer with the next transaction id; --tcp only
              (RTU frames carry no transaction id, so the two --tcp only kinds
              are refused with --pty and --device.)
      function=NAME  only requests of this driver function: Connect_Device_KT41,
              Read_DeviceInfo_KT41, Read_ConfConturs_KT41, Write_ConfConturs_KT41,
              Read_ParamContur_KT41, Write_ParamContur_KT41,
              Read_ParamConturEx_KT41, Write_ParamConturEx_KT41,
              Read_ParamInput_Term_KT41, Write_ParamInput_Term_KT41,
              Read_ParamInput_Analog_KT41, Write_ParamInput_Analog_KT41,
              Read_ParamDevice_KT41, Write_ParamDevice_KT41,
              Read_CalibrTermDav_KT41, Write_CalibrTermDav_KT41,
              Read_ParamManual_KT41, Write_ConturManualMode_KT41,
              Write_PumpsManualOn_KT41, Write_AnalogOutPut_KT41,
              Write_ConturManualStatus_KT41, Get_Current_Data_KT41,
              Get_ADC_Cod_KT41, Read_DateTime_KT41, Read_ArxRecord_KT41,
              ReadRegisters, WriteRegisters; default: every request
      skip=N  answer the first N matching requests normally; default 0
      count=N damage the next N matching requests; default 1, 0 = all. The
              tool's driver sends a request once more after a lost or damaged
              answer (not after an exception), so count=2 makes one call fail.
      code=N  exception code for "exception"; default 4 (device failure)
      delay=MS delay for "late-reply" in milliseconds; default 1500
      gap=MS  pause before each byte for "drip" in milliseconds; default 150

Other:
  --verbose, -v      print every request on standard error
  --help, -h         this text
  --version          print the version and exit

Examples:
  kt41-sim --tcp 1502
      then connect the tool to port tcp://127.0.0.1:1502, address 1
  kt41-sim --pty --any-address --baud 9600
  kt41-sim --tcp 1502 --resistance 92.16 --current 4
      the first points of both calibrations are connected
  kt41-sim --tcp 1502 --fault no-answer,function=Connect_Device_KT41,count=2
      the first connect attempt gets no answer, neither to its request nor to
      the driver's retry, and fails; the second succeeds
  kt41-sim --pty --fault bad-crc,function=Read_ParamContur_KT41,skip=1
      the second read of a full contour block comes back with a bad CRC
  kt41-sim --tcp 1502 --fault repeat-previous,function=Read_ParamInput_Analog_KT41
      the read of the 4-20 mA inputs gets the answer of the request before it
  kt41-sim --tcp 1502 --fault drip,count=0
      every answer drips in, one byte every 150 ms
)";
}

} // namespace kt41::sim
