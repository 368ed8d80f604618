#include "BlockCodec.h"

#include <algorithm>

namespace kt41::device {

namespace {

std::uint8_t Low(std::uint16_t w) {
    return std::uint8_t(w & 0xFF);
}
std::int16_t Signed(std::uint16_t w) {
    return std::int16_t(w);
}
std::uint16_t Word(std::int16_t v) {
    return std::uint16_t(v);
}
std::uint16_t Bit(std::uint8_t flag, int bit) {
    return flag == 1 ? std::uint16_t(1u << bit) : 0;
}

// Calendars travel Sunday first: day 7, day 1, ..., day 6.
void DecodeCalendar(std::span<const std::uint16_t> words, TWeekCalendar& calendar) {
    for (int slot = 0; slot < 7; ++slot) {
        const int day = slot == 0 ? 6 : slot - 1;
        for (int p = 0; p < 4; ++p) {
            calendar.Day[day][p] = words[slot * 4 + p];
        }
    }
}

void EncodeCalendar(const TWeekCalendar& calendar, std::span<std::uint16_t> words) {
    for (int slot = 0; slot < 7; ++slot) {
        const int day = slot == 0 ? 6 : slot - 1;
        for (int p = 0; p < 4; ++p) {
            words[slot * 4 + p] = calendar.Day[day][p];
        }
    }
}

void DecodeFuncAlarm(std::uint16_t w, std::uint8_t& func, std::uint8_t& alarm) {
    func = std::uint8_t(w & 0x0F);
    alarm = std::uint8_t((w >> 4) & 0x0F);
}

std::uint16_t EncodeFuncAlarm(std::uint8_t func, std::uint8_t alarm) {
    // Func owns bits 0-3; a larger value must not spill into the alarm bits.
    return std::uint16_t((func & 0x0F) | Bit(alarm, 4));
}

} // namespace

void WordsFromBytes(std::span<const std::uint8_t> bytes, std::span<std::uint16_t> words) {
    for (std::size_t k = 0; k < words.size(); ++k) {
        words[k] = std::uint16_t((bytes[2 * k] << 8) | bytes[2 * k + 1]);
    }
}

void BytesFromWords(std::span<const std::uint16_t> words, std::span<std::uint8_t> bytes) {
    for (std::size_t k = 0; k < words.size(); ++k) {
        bytes[2 * k] = std::uint8_t(words[k] >> 8);
        bytes[2 * k + 1] = std::uint8_t(words[k] & 0xFF);
    }
}

void SanitizeContourTable(ContourTable& table) {
    for (std::size_t k = 0; k < table.size(); ++k) {
        const std::uint16_t limit = k < 2 ? 5 : k < 4 ? 3 : 2;
        if (table[k] > limit) {
            table[k] = 0;
        }
    }
}

std::uint16_t EncodePumpBits(const TPumpGroup& g) {
    // Bit 0 carries Pump_ON's own low bit, so that a stray value from a file
    // cannot set the neighbouring flags' bits.
    return std::uint16_t((g.Pump_ON & 1u) | Bit(g.Pump_SensProtect, 1) | Bit(g.Pump_SensWork, 2) |
                         Bit(g.Pump_AVR, 3) | Bit(g.Pump_VarWork, 4) | Bit(g.Pump_Main, 5));
}

void DecodePumpBits(std::uint16_t w, TPumpGroup& g) {
    g.Pump_ON = (w >> 0) & 1;
    g.Pump_SensProtect = (w >> 1) & 1;
    g.Pump_SensWork = (w >> 2) & 1;
    g.Pump_AVR = (w >> 3) & 1;
    g.Pump_VarWork = (w >> 4) & 1;
    g.Pump_Main = (w >> 5) & 1;
}

void DecodeContour(std::span<const std::uint16_t, kContourWords> w, TParamContur& c) {
    c.dT_low = w[0];
    c.RegulateMode = Low(w[1]);
    for (int i = 0; i < 8; ++i) {
        c.Tout[i] = Signed(w[2 + i]);
        c.Tin[i] = Signed(w[10 + i]);
        c.Tback[i] = Signed(w[18 + i]);
    }
    c.Qt_Points = w[26];
    c.T_alarm_max = Signed(w[27]);
    c.T_alarm_min = Signed(w[28]);
    c.VLV_Max_Up = w[29];
    c.VLV_Max_Down = w[30];
    c.VLV_Condition = Low(w[31]);
    c.BC_corr_ON = Low(w[32]);
    c.dBC_High = Signed(w[33]);
    c.dBC_Low = Signed(w[34]);
    c.P_alarm_max = w[35];
    c.P_alarm_min = w[36];
    c.PK = w[37];
    c.DK = w[38];
    c.Cycle = w[39];
    c.Week_ON_Tlow = w[40];
    DecodeCalendar(w.subspan(41, 28), c.Calendar_Tlow);
    DecodePumpBits(w[69], c.PumpGroup);
    c.PumpGroup.Pump_DelayOn = w[70];
    c.PumpGroup.Pump_TimeSensWork = w[71];
    c.PumpGroup.Pump_Reset = Low(w[72]);
    c.PumpGroup.Pump_PeriodReset = w[73];
    c.Tnorm = w[74];
    c.Tlow = w[75];
    c.Tbc = w[76];
    c.Tmin = w[77];
    c.Week_ON_Pump = w[78];
    DecodeCalendar(w.subspan(79, 28), c.Calendar_Pump);
    c.FeedMode = Low(w[107]);
    c.FeedReset = Low(w[108]);
    c.VLV_pause = w[109];
    c.PMP_timeout = w[110];
    c.DavHigh_Feed1 = w[111];
    c.DavLow_Feed1 = w[112];
    c.DavHigh_Feed2 = w[113];
    c.DavLow_Feed2 = w[114];
    c.RP_diff = w[115];
    c.T_action = Signed(w[116]);
    c.RP_diff_max = w[117];
    // w118 and w119 are reserved.
}

void EncodeContour(const TParamContur& c, std::span<std::uint16_t, kContourWords> w) {
    std::fill(w.begin(), w.end(), 0);
    w[0] = c.dT_low;
    w[1] = c.RegulateMode;
    for (int i = 0; i < 8; ++i) {
        w[2 + i] = Word(c.Tout[i]);
        w[10 + i] = Word(c.Tin[i]);
        w[18 + i] = Word(c.Tback[i]);
    }
    w[26] = c.Qt_Points;
    w[27] = Word(c.T_alarm_max);
    w[28] = Word(c.T_alarm_min);
    w[29] = c.VLV_Max_Up;
    w[30] = c.VLV_Max_Down;
    w[31] = c.VLV_Condition;
    w[32] = c.BC_corr_ON;
    w[33] = Word(c.dBC_High);
    w[34] = Word(c.dBC_Low);
    w[35] = c.P_alarm_max;
    w[36] = c.P_alarm_min;
    w[37] = c.PK;
    w[38] = c.DK;
    w[39] = c.Cycle;
    w[40] = c.Week_ON_Tlow;
    EncodeCalendar(c.Calendar_Tlow, w.subspan(41, 28));
    w[69] = EncodePumpBits(c.PumpGroup);
    w[70] = c.PumpGroup.Pump_DelayOn;
    w[71] = c.PumpGroup.Pump_TimeSensWork;
    w[72] = c.PumpGroup.Pump_Reset;
    w[73] = c.PumpGroup.Pump_PeriodReset;
    w[74] = c.Tnorm;
    w[75] = c.Tlow;
    w[76] = c.Tbc;
    w[77] = c.Tmin;
    w[78] = c.Week_ON_Pump;
    EncodeCalendar(c.Calendar_Pump, w.subspan(79, 28));
    w[107] = c.FeedMode;
    w[108] = c.FeedReset;
    w[109] = c.VLV_pause;
    w[110] = c.PMP_timeout;
    w[111] = c.DavHigh_Feed1;
    w[112] = c.DavLow_Feed1;
    w[113] = c.DavHigh_Feed2;
    w[114] = c.DavLow_Feed2;
    w[115] = c.RP_diff;
    w[116] = Word(c.T_action);
    w[117] = c.RP_diff_max;
}

void DecodeContourEx(std::span<const std::uint16_t, kContourExWords> w, TParamConturEx& c) {
    DecodePumpBits(w[0], c.PumpGroup);
    c.PumpGroup.Pump_DelayOn = w[1];
    c.PumpGroup.Pump_TimeSensWork = w[2];
    c.PumpGroup.Pump_Reset = Low(w[3]);
    c.PumpGroup.Pump_PeriodReset = w[4];
    c.FeedMode = Low(w[5]);
    c.FeedReset = Low(w[6]);
    c.VLV_pause = w[7];
    c.PMP_timeout = w[8];
    c.DavHigh_Feed1 = w[9];
    c.DavLow_Feed1 = w[10];
    c.DavHigh_Feed2 = w[11];
    c.DavLow_Feed2 = w[12];
    c.P_alarm_max = w[13];
    c.P_alarm_min = w[14];
    c.PK = w[15];
    c.DK = w[16];
    c.Cycle = w[17];
    c.RP_diff = w[18];
    c.T_action = Signed(w[19]);
    c.RP_diff_max = w[20];
}

void EncodeContourEx(const TParamConturEx& c, std::span<std::uint16_t, kContourExWords> w) {
    w[0] = EncodePumpBits(c.PumpGroup);
    w[1] = c.PumpGroup.Pump_DelayOn;
    w[2] = c.PumpGroup.Pump_TimeSensWork;
    w[3] = c.PumpGroup.Pump_Reset;
    w[4] = c.PumpGroup.Pump_PeriodReset;
    w[5] = c.FeedMode;
    w[6] = c.FeedReset;
    w[7] = c.VLV_pause;
    w[8] = c.PMP_timeout;
    w[9] = c.DavHigh_Feed1;
    w[10] = c.DavLow_Feed1;
    w[11] = c.DavHigh_Feed2;
    w[12] = c.DavLow_Feed2;
    w[13] = c.P_alarm_max;
    w[14] = c.P_alarm_min;
    w[15] = c.PK;
    w[16] = c.DK;
    w[17] = c.Cycle;
    w[18] = c.RP_diff;
    w[19] = Word(c.T_action);
    w[20] = c.RP_diff_max;
}

void DecodeInputsTerm(std::span<const std::uint16_t, kInputWords> w,
                      std::array<TInputTerm, 6>& inputs) {
    for (std::size_t n = 0; n < inputs.size(); ++n) {
        inputs[n].Contour = Low(w[2 * n]);
        DecodeFuncAlarm(w[2 * n + 1], inputs[n].Func, inputs[n].Alarm);
    }
}

void EncodeInputsTerm(const std::array<TInputTerm, 6>& inputs,
                      std::span<std::uint16_t, kInputWords> w) {
    for (std::size_t n = 0; n < inputs.size(); ++n) {
        w[2 * n] = inputs[n].Contour;
        w[2 * n + 1] = EncodeFuncAlarm(inputs[n].Func, inputs[n].Alarm);
    }
}

void DecodeInputsAnalog(std::span<const std::uint16_t, kInputWords> w,
                        std::array<TInputAnalog, 4>& inputs) {
    for (std::size_t n = 0; n < inputs.size(); ++n) {
        inputs[n].Contour = Low(w[2 * n]);
        DecodeFuncAlarm(w[2 * n + 1], inputs[n].Func, inputs[n].Alarm);
        inputs[n].MaxVal = w[8 + n];
    }
}

void EncodeInputsAnalog(const std::array<TInputAnalog, 4>& inputs,
                        std::span<std::uint16_t, kInputWords> w) {
    for (std::size_t n = 0; n < inputs.size(); ++n) {
        w[2 * n] = inputs[n].Contour;
        w[2 * n + 1] = EncodeFuncAlarm(inputs[n].Func, inputs[n].Alarm);
        w[8 + n] = inputs[n].MaxVal;
    }
}

void DecodeDeviceInfo(std::span<const std::uint16_t, kDeviceInfoWords> w, TParamDevice& d) {
    d.Model = w[0];
    d.SerialNumber = w[1];
    d.Version = w[2];
    d.Manufact_date = w[3];
}

void DecodeDeviceParams(std::span<const std::uint16_t, kDeviceParamWords> w, TParamDevice& d) {
    d.MBS_speed = w[0];
    d.VLV_stroke1 = w[1];
    d.VLV_stroke2 = w[2];
    d.VLV_stroke3 = w[3];
    d.VLV_stroke4 = w[4];
    d.PMP1_time_1 = w[5];
    d.PMP2_time_1 = w[6];
    d.PMP1_time_2 = w[7];
    d.PMP2_time_2 = w[8];
    // w9..w12 are reserved.
    d.NO_M1 = w[13];
    d.NO_M2 = w[14];
    d.NO_M3 = w[15];
    d.NO_M4 = w[16];
    d.NO_M5 = w[17];
    d.NO_M6 = w[18];
    d.NO_M7 = w[19];
    d.NO_M8 = w[20];
    d.NO_MP1 = w[21];
    d.NO_MP2 = w[22];
}

void EncodeDeviceParams(const TParamDevice& d, std::span<std::uint16_t, kDeviceParamWords> w) {
    std::fill(w.begin(), w.end(), 0);
    w[0] = d.MBS_speed;
    w[1] = d.VLV_stroke1;
    w[2] = d.VLV_stroke2;
    w[3] = d.VLV_stroke3;
    w[4] = d.VLV_stroke4;
    w[5] = d.PMP1_time_1;
    w[6] = d.PMP2_time_1;
    w[7] = d.PMP1_time_2;
    w[8] = d.PMP2_time_2;
    w[13] = d.NO_M1;
    w[14] = d.NO_M2;
    w[15] = d.NO_M3;
    w[16] = d.NO_M4;
    w[17] = d.NO_M5;
    w[18] = d.NO_M6;
    w[19] = d.NO_M7;
    w[20] = d.NO_M8;
    w[21] = d.NO_MP1;
    w[22] = d.NO_MP2;
}

void DecodeCalibration(std::span<const std::uint16_t, kCalibrationWords> w, TCalibrTermDav& c) {
    c.K_TERM_1 = w[0];
    c.K_TERM_2 = w[1];
    c.Type_T = Low(w[2]);
    c.K_P1 = w[3];
    c.K_P2 = w[4];
}

void EncodeCalibration(const TCalibrTermDav& c, std::span<std::uint16_t, kCalibrationWords> w) {
    w[0] = c.K_TERM_1;
    w[1] = c.K_TERM_2;
    w[2] = c.Type_T;
    w[3] = c.K_P1;
    w[4] = c.K_P2;
}

void DecodeManualState(std::span<const std::uint16_t, kManualStateWords> w, TParamManual& m) {
    for (int n = 0; n < 4; ++n) {
        m.ManualMode[n] = (w[0] >> n) & 1;
        m.PumpSwitch[n] = Low(w[1 + n]);
        m.ValveCommand[n] = Low(w[8 + n]);
    }
    m.AnalogOut[0] = w[5];
    m.AnalogOut[1] = w[6];
}

std::uint16_t EncodeManualModes(const TParamManual& m) {
    // As with the pump bits, contour 1's flag contributes only its own bit.
    return std::uint16_t((m.ManualMode[0] & 1u) | Bit(m.ManualMode[1], 1) |
                         Bit(m.ManualMode[2], 2) | Bit(m.ManualMode[3], 3));
}

std::array<std::uint16_t, 4> EncodePumpSwitches(const TParamManual& m) {
    return {m.PumpSwitch[0], m.PumpSwitch[1], m.PumpSwitch[2], m.PumpSwitch[3]};
}

std::array<std::uint16_t, 2> EncodeAnalogOutputs(const TParamManual& m) {
    return {m.AnalogOut[0], m.AnalogOut[1]};
}

std::array<std::uint16_t, kManualStatusWords> EncodeManualStatus(const TParamManual& m, int contour,
                                                                 std::int16_t command) {
    std::array<std::uint16_t, kManualStatusWords> w{};
    w[0] = Word(command);
    if (contour >= 1 && contour <= 4) {
        w[contour] = m.ValveCommand[contour - 1];
    }
    return w;
}

void DecodeArchiveRecord(std::span<const std::uint16_t, kArchiveRecordWords> w,
                         const std::array<std::uint8_t, 4>& analogTypes, TArxRecord& r) {
    r.Month = w[0] >> 8;
    r.Year = w[0] & 0xFF;
    r.Hour = w[1] >> 8;
    r.Day = w[1] & 0xFF;
    for (int i = 0; i < 8; ++i) {
        r.Temp[i] = float(Signed(w[2 + i])) / 10.0f;
    }
    for (int i = 0; i < 4; ++i) {
        const bool hundredths = analogTypes[i] == 1 || analogTypes[i] == 2;
        r.Analog[i] = hundredths ? float(w[10 + i]) / 100.0f : float(w[10 + i]);
    }
    for (int i = 0; i < 4; ++i) {
        r.Status[i] = w[14 + i];
    }
}

} // namespace kt41::device
