#include "catalogue/EventTable.h"

#include <gtest/gtest.h>

#include <array>

using namespace kt41::catalogue;

TEST(EventTable, ActiveEventsInBitOrder) {
    const std::array<std::uint16_t, 4> words{0x8001, 0, 0, 0x8000};
    const auto events = ActiveEvents(words);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].Kind, "Авария");
    EXPECT_EQ(events[0].Description, "Насос в первом канале подпитки остановлен по таймауту");
    EXPECT_EQ(events[1].Word, 0);
    EXPECT_EQ(events[1].Bit, 15);
    EXPECT_EQ(events[1].Description, "Остановка 2-го насоса насосной группы в 1-м контуре");
    EXPECT_EQ(events[2].Kind, "Событие");
    EXPECT_EQ(events[2].Description, "4-й контур отключен пользователем");
    EXPECT_TRUE(ActiveEvents(std::array<std::uint16_t, 4>{}).empty());
}

TEST(EventTable, IrregularEntries) {
    // Two descriptions keep a trailing blank.
    EXPECT_EQ(EventText(0, 1).Description,
              "Насос во втором канале подпитки остановлен по таймауту ");
    EXPECT_EQ(EventText(2, 3).Description,
              "Ошибка валидности читаемых из EEPROM параметров или отказ EEPROM ");
    EXPECT_EQ(EventText(1, 12).Kind, "Ошибка");
    EXPECT_EQ(EventText(2, 15).Description, "Перезагрузка контроллера");
    EXPECT_EQ(EventText(3, 0).Kind, "Событие");
    EXPECT_EQ(EventText(4, 0).Description, "");
    EXPECT_EQ(EventText(0, 16).Kind, "");
    int blanksAtEnd = 0;
    for (int w = 0; w < kEventWordCount; ++w) {
        for (int b = 0; b < kEventBitsPerWord; ++b) {
            const TEventText& e = EventText(w, b);
            EXPECT_TRUE(e.Kind == kEventKindAlarm || e.Kind == kEventKindError ||
                        e.Kind == kEventKindEvent)
                << w << ":" << b;
            EXPECT_EQ(e.Word, w);
            EXPECT_EQ(e.Bit, b);
            blanksAtEnd += e.Description.back() == ' ';
        }
    }
    EXPECT_EQ(blanksAtEnd, 2);
}
