#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kt41::sim {

// What goes wrong with the answer to a request.
enum class FaultKind {
    NoAnswer,    // the request is ignored (a write is not applied)
    BadCrc,      // the answer's checksum is corrupted (over TCP: its header)
    Truncated,   // only the first half of the answer is sent
    Exception,   // an exception reply instead of the answer (a write is not applied)
    LateReply,   // the answer comes after Delay
    WrongUnit,   // a well-formed answer from the next unit address
    WrongLength, // a well-formed answer with one register too many
    Drip,        // the answer goes out one byte at a time, each after a pause of Gap
    AnswerTwice, // the answer is sent twice
    // Modbus TCP only (TcpOnly): RTU frames carry no transaction id, so an RTU
    // server sends these answers unchanged, and kt41-sim refuses them without
    // --tcp.
    RepeatPrevious, // the request is carried out, but the previous answer sent on
                    // the connection goes out again instead of its own (nothing
                    // when there was none)
    NextId,         // the answer carries the next transaction id
};

// One fault rule. Requests are matched by the driver function they belong to
// (see Controller::FunctionOf); of the matching requests the first Skip are
// answered normally and the next Count get the fault (Count 0: all of them).
// Every rule counts all requests it matches; when several rules are active for
// one request, the one added first applies.
// "Fail the first two connect attempts" is {NoAnswer, "Connect_Device_KT41",
// 0, 2}; "the fifth request of all" is {Kind, "", 4, 1}.
struct Fault {
    FaultKind Kind = FaultKind::NoAnswer;
    std::string Function; // empty: every request
    int Skip = 0;
    int Count = 1;
    std::uint8_t ExceptionCode = 4;        // server device failure
    std::chrono::milliseconds Delay{1500}; // LateReply
    std::chrono::milliseconds Gap{150};    // Drip: pause before each byte
};

std::string_view FaultKindName(FaultKind kind); // "no-answer", "bad-crc", ...
std::optional<FaultKind> FaultKindFromName(std::string_view name);
// Every kind, in declaration order.
const std::vector<FaultKind>& AllFaultKinds();
// Whether the kind changes what only Modbus TCP has (the transaction id).
bool TcpOnly(FaultKind kind);
// Whether the server applies the kind to the frame of a normal answer
// (Reply::FrameFault), rather than the controller to what it answers.
bool FramedByServer(FaultKind kind);

// Parses "KIND[,function=NAME][,skip=N][,count=N][,code=N][,delay=MS][,gap=MS]", the
// form of kt41-sim's --fault option. nullopt with the reason in *error when the
// text is not valid.
std::optional<Fault> ParseFault(std::string_view text, std::string* error);

} // namespace kt41::sim
