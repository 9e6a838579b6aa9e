// The host's per-block inputs: event list and parameter changes, as the processor reads them.
#include <gtest/gtest.h>

#include <cstring>

#include "tools/vst3host/host_event_list.h"
#include "tools/vst3host/host_parameter_changes.h"

namespace velt::corvane::tooltest {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using tools::HostEventList;
using tools::HostParameterChanges;
using tools::HostParamValueQueue;

TEST(HostEventList, NotesAndSysExAsHostsSendThem) {
    HostEventList list(8);
    EXPECT_EQ(list.capacity(), 8);
    EXPECT_TRUE(list.noteOn(10, 3, 69, 100));
    EXPECT_TRUE(list.noteOff(20, 15, 60));
    const uint8_t sysEx[] = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
    EXPECT_TRUE(list.sysEx(5, sysEx, sizeof sysEx));
    ASSERT_EQ(list.getEventCount(), 3);

    Event e{};
    ASSERT_EQ(list.getEvent(0, e), kResultOk);
    EXPECT_EQ(e.type, Event::kNoteOnEvent);
    EXPECT_EQ(e.sampleOffset, 10);
    EXPECT_EQ(e.noteOn.channel, 3);
    EXPECT_EQ(e.noteOn.pitch, 69);
    EXPECT_FLOAT_EQ(e.noteOn.velocity, 100.0f / 127.0f);
    EXPECT_EQ(e.noteOn.noteId, -1);
    // The processor's round-half-up brings every MIDI velocity back exactly.
    for (int32_t v = 0; v <= 127; ++v) {
        HostEventList one(1);
        one.noteOn(0, 0, 60, v);
        Event n{};
        one.getEvent(0, n);
        EXPECT_EQ(static_cast<int32_t>(n.noteOn.velocity * 127.0 + 0.5), v);
    }

    ASSERT_EQ(list.getEvent(1, e), kResultOk);
    EXPECT_EQ(e.type, Event::kNoteOffEvent);
    EXPECT_EQ(e.sampleOffset, 20);
    EXPECT_EQ(e.noteOff.channel, 15);
    EXPECT_EQ(e.noteOff.pitch, 60);
    EXPECT_EQ(e.noteOff.velocity, 0.0f);

    ASSERT_EQ(list.getEvent(2, e), kResultOk);
    EXPECT_EQ(e.type, Event::kDataEvent);
    EXPECT_EQ(e.data.type, static_cast<uint32>(DataEvent::kMidiSysEx));
    EXPECT_EQ(e.data.size, sizeof sysEx);
    EXPECT_EQ(e.data.bytes, sysEx);  // the caller's storage, leading F0 included

    EXPECT_EQ(list.getEvent(3, e), kResultFalse);
    EXPECT_EQ(list.getEvent(-1, e), kResultFalse);
}

TEST(HostEventList, FixedCapacityAndClear) {
    HostEventList list(2);
    Event e{};
    e.type = Event::kNoteOnEvent;
    EXPECT_EQ(list.addEvent(e), kResultOk);
    EXPECT_EQ(list.addEvent(e), kResultOk);
    EXPECT_EQ(list.addEvent(e), kResultFalse);
    EXPECT_FALSE(list.noteOn(0, 0, 60, 1));
    EXPECT_EQ(list.getEventCount(), 2);
    list.clear();
    EXPECT_EQ(list.getEventCount(), 0);
    EXPECT_TRUE(list.noteOff(0, 0, 60));
    EXPECT_EQ(list.getEventCount(), 1);

    HostEventList none(0);
    EXPECT_EQ(none.capacity(), 0);
    EXPECT_FALSE(none.noteOn(0, 0, 60, 1));

    // Lives on the stack: reference counting does nothing, the interface is found.
    EXPECT_EQ(list.addRef(), 1u);
    EXPECT_EQ(list.release(), 1u);
    void* obj = nullptr;
    EXPECT_EQ(list.queryInterface(IEventList::iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<IEventList*>(&list));
    EXPECT_EQ(list.queryInterface(IParameterChanges::iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
}

TEST(HostParameterChanges, OneQueuePerIdWithOrderedPoints) {
    HostParameterChanges changes(3);
    EXPECT_EQ(changes.capacity(), 3);
    int32 index = -1;
    IParamValueQueue* cc7 = changes.addParameterData(0x10007, index);
    ASSERT_NE(cc7, nullptr);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(cc7->getParameterId(), 0x10007u);
    EXPECT_EQ(cc7->getPointCount(), 0);
    int32 point = -1;
    EXPECT_EQ(cc7->addPoint(12, 0.25, point), kResultOk);
    EXPECT_EQ(point, 0);
    EXPECT_EQ(cc7->addPoint(30, 1.0, point), kResultOk);
    EXPECT_EQ(point, 1);

    EXPECT_TRUE(changes.add(0x10381, 4, 0.5));
    // The same id again: the existing queue, not a second one.
    EXPECT_EQ(changes.addParameterData(0x10007, index), cc7);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(changes.add(0x10007, 40, 0.75));
    ASSERT_EQ(changes.getParameterCount(), 2);

    IParamValueQueue* q = changes.getParameterData(0);
    ASSERT_EQ(q, cc7);
    ASSERT_EQ(q->getPointCount(), 3);
    int32 offset = 0;
    ParamValue value = 0.0;
    ASSERT_EQ(q->getPoint(2, offset, value), kResultOk);
    EXPECT_EQ(offset, 40);
    EXPECT_EQ(value, 0.75);
    ASSERT_EQ(q->getPoint(0, offset, value), kResultOk);
    EXPECT_EQ(offset, 12);
    EXPECT_EQ(value, 0.25);
    EXPECT_EQ(q->getPoint(3, offset, value), kResultFalse);
    EXPECT_EQ(q->getPoint(-1, offset, value), kResultFalse);

    IParamValueQueue* bend = changes.getParameterData(1);
    ASSERT_NE(bend, nullptr);
    EXPECT_EQ(bend->getParameterId(), 0x10381u);
    ASSERT_EQ(bend->getPoint(0, offset, value), kResultOk);
    EXPECT_EQ(offset, 4);
    EXPECT_EQ(value, 0.5);
    EXPECT_EQ(changes.getParameterData(2), nullptr);
    EXPECT_EQ(changes.getParameterData(-1), nullptr);
}

TEST(HostParameterChanges, FixedCapacitiesAndClear) {
    HostParameterChanges changes(2);
    int32 index = 0;
    EXPECT_NE(changes.addParameterData(1, index), nullptr);
    EXPECT_NE(changes.addParameterData(2, index), nullptr);
    EXPECT_EQ(changes.addParameterData(3, index), nullptr);
    EXPECT_FALSE(changes.add(3, 0, 0.0));
    EXPECT_TRUE(changes.add(2, 0, 0.0));  // an existing queue still takes points

    IParamValueQueue* q = changes.getParameterData(0);
    for (int32_t i = 0; i < tools::kHostQueuePoints; ++i) EXPECT_EQ(q->addPoint(i, 0.0, index), kResultOk);
    EXPECT_EQ(q->addPoint(99, 0.0, index), kResultFalse);
    EXPECT_EQ(q->getPointCount(), 64);

    changes.clear();
    EXPECT_EQ(changes.getParameterCount(), 0);
    EXPECT_EQ(changes.getParameterData(0), nullptr);
    // A reused queue starts empty under its new id.
    IParamValueQueue* again = changes.addParameterData(7, index);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(again->getParameterId(), 7u);
    EXPECT_EQ(again->getPointCount(), 0);

    void* obj = nullptr;
    EXPECT_EQ(changes.queryInterface(IParameterChanges::iid, &obj), kResultOk);
    EXPECT_EQ(obj, static_cast<IParameterChanges*>(&changes));
    EXPECT_EQ(again->queryInterface(IParamValueQueue::iid, &obj), kResultOk);
    EXPECT_EQ(again->queryInterface(IEventList::iid, &obj), kNoInterface);
}

}  // namespace
}  // namespace velt::corvane::tooltest
