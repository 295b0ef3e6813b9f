// Seeded random runs of everything that may change the process list, an
// animator's listener list or the message bus while they are being walked:
// ticks that add, remove and delete processes, listeners that disconnect or
// delete themselves or their animator's owner from inside notifications, and
// messengers that subscribe, broadcast or are destroyed from inside handlers.
// Every object must be deleted exactly once; the sanitizers see anything
// freed that is touched.
#include "game/hog/MessageParam.h"
#include "game/hog/TMessenger.h"
#include "game/shell/FloatTrLine.h"
#include "game/shell/FloatTransformerListener.h"
#include "game/shell/Process.h"
#include "game/shell/ProcessList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <vector>

namespace {

using Tandry::AddProcess;
using Tandry::BroadcastMessage;
using Tandry::MessageParam;
using Tandry::RemoveProcess;
using Tandry::TMessenger;

constexpr int kCodes = 4;
constexpr int kMaxDepth = 3;
constexpr size_t kMaxObjects = 40;

// What one run made and deleted, and the live objects it may pick from.
struct World;
World* gWorld = nullptr;

template <typename T, typename U>
void Forget(std::vector<T*>& live, U* object)
{
    live.erase(std::remove(live.begin(), live.end(), static_cast<T*>(object)), live.end());
}

template <typename T>
T* Pick(std::vector<T*>& live, std::mt19937& rng)
{
    return live.empty() ? nullptr : live[rng() % live.size()];
}

// Deletes a random live object, maybe self; true when that was self.
template <typename T>
bool DeleteOne(std::vector<T*>& live, std::mt19937& rng, const T* self)
{
    T* victim = Pick(live, rng);
    delete victim;
    return victim == self;
}

class Tracked {
public:
    Tracked();
    virtual ~Tracked();
    int serial;
};

class Churn;
class Line;
class Watcher;
class Owner;
class Messenger;

struct World {
    explicit World(uint32_t seed) : rng(seed) {}
    std::mt19937 rng;
    int nextSerial = 0;
    std::map<int, int> deletions;
    int depth = 0;
    std::vector<Process*> processes;
    std::vector<Watcher*> watchers;
    std::vector<Owner*> owners;
    std::vector<Messenger*> messengers;

    bool Chance(int percent) { return static_cast<int>(rng() % 100) < percent; }
    size_t Objects() const { return processes.size() + watchers.size() + owners.size() + messengers.size(); }
    void Broadcast();
    void MakeProcess();
    void MakeAnimation();
    void MakeMessenger();
};

Tracked::Tracked() : serial(gWorld->nextSerial++) {}

Tracked::~Tracked()
{
    ++gWorld->deletions[serial];
}

class Messenger : public TMessenger, public Tracked {
public:
    Messenger()
    {
        gWorld->messengers.push_back(this);
        const int codes = 1 + static_cast<int>(gWorld->rng() % 2);
        for (int i = 0; i < codes; ++i)
            Subscribe(this, static_cast<int>(gWorld->rng() % kCodes));
    }
    ~Messenger() override { Forget(gWorld->messengers, this); }

    void OnMessage(int /*code*/, TMessenger* /*sender*/, MessageParam* /*param*/) override
    {
        World& w = *gWorld;
        switch (w.rng() % 8) {
        case 0:
            Subscribe(this, static_cast<int>(w.rng() % kCodes));
            break;
        case 1:
            if (Messenger* other = Pick(w.messengers, w.rng))
                Subscribe(other, static_cast<int>(w.rng() % kCodes));
            break;
        case 2:
            w.Broadcast();
            break;
        case 3:
            delete this;
            return;
        case 4:
            if (DeleteOne(w.messengers, w.rng, this))
                return;
            break;
        case 5:
            w.MakeMessenger();
            break;
        case 6:
            if (Process* p = Pick(w.processes, w.rng))
                RemoveProcess(p);
            break;
        default:
            w.MakeProcess();
            break;
        }
    }
};

// A process that does something to the list, the bus or itself on its tick.
class Churn : public Process, public Tracked {
public:
    Churn() { gWorld->processes.push_back(this); }
    ~Churn() override { Forget(gWorld->processes, this); }

    bool Tick(float /*dt*/, float /*elapsed*/) override
    {
        World& w = *gWorld;
        switch (w.rng() % 9) {
        case 0:
            return false;
        case 1:
            RemoveProcess(this);
            return !w.Chance(50);
        case 2:
            if (Process* p = Pick(w.processes, w.rng))
                RemoveProcess(p);
            break;
        case 3:
            w.MakeProcess();
            break;
        case 4:
            // An owner deleting a process during the pass, maybe this one.
            if (DeleteOne(w.processes, w.rng, static_cast<Process*>(this)))
                return true;
            break;
        case 5:
            w.Broadcast();
            break;
        case 6:
            w.MakeAnimation();
            break;
        default:
            break;
        }
        return true;
    }
};

// An animator owned by an Owner (or by nobody but the list).
class Line : public FloatTrLine, public Tracked {
public:
    Line(Owner* lineOwner, float duration) : FloatTrLine(0.0f, 1.0f, duration, 1), owner(lineOwner)
    {
        gWorld->processes.push_back(this);
    }
    ~Line() override { Forget(gWorld->processes, this); }
    Owner* owner;
};

// Holds an animator and deletes it when it goes; forgets it when the list
// deleted it first.
class Owner : public FloatTransformerListener, public Tracked {
public:
    Owner() { gWorld->owners.push_back(this); }
    ~Owner() override
    {
        Forget(gWorld->owners, this);
        delete line;
    }
    void OnSenderRemoved(MessageSender* sender) override
    {
        if (line != nullptr && sender == static_cast<MessageSender*>(line))
            line = nullptr;
    }
    Line* line = nullptr;
};

class Watcher : public FloatTransformerListener, public Tracked {
public:
    Watcher() { gWorld->watchers.push_back(this); }
    ~Watcher() override { Forget(gWorld->watchers, this); }

    void OnValueChanged(FloatTransformer* transformer, float /*value*/, int /*id*/) override { React(transformer); }
    void OnFinished(FloatTransformer* transformer, int /*id*/) override { React(transformer); }

private:
    void React(FloatTransformer* transformer)
    {
        World& w = *gWorld;
        switch (w.rng() % 9) {
        case 0:
            Disconnect(1, transformer);
            break;
        case 1:
            Disconnect(0, transformer);
            break;
        case 2:
            delete this;
            return;
        case 3:
            // Deleting the owner deletes the animator being ticked.
            if (Owner* owner = static_cast<Line*>(transformer)->owner)
                delete owner;
            break;
        case 4:
            if (DeleteOne(w.watchers, w.rng, this))
                return;
            break;
        case 5:
            w.Broadcast();
            break;
        case 6:
            w.MakeAnimation();
            break;
        case 7:
            if (Process* p = Pick(w.processes, w.rng))
                RemoveProcess(p);
            break;
        default:
            break;
        }
    }
};

void World::Broadcast()
{
    if (depth >= kMaxDepth)
        return;
    ++depth;
    MessageParam param(static_cast<int>(rng() % 100));
    BroadcastMessage(Pick(messengers, rng), static_cast<int>(rng() % kCodes), &param);
    --depth;
}

void World::MakeProcess()
{
    if (Objects() < kMaxObjects)
        AddProcess(new Churn);
}

void World::MakeAnimation()
{
    if (Objects() >= kMaxObjects)
        return;
    Owner* owner = Chance(70) ? new Owner : nullptr;
    auto* line = new Line(owner, 0.01f * static_cast<float>(1 + rng() % 6));
    if (owner != nullptr) {
        owner->line = line;
        line->AddListener(owner);
    }
    const int count = static_cast<int>(rng() % 4);
    for (int i = 0; i < count; ++i)
        line->AddListener(new Watcher);
    // Sometimes an existing watcher listens as well.
    if (Watcher* shared = Pick(watchers, rng); shared != nullptr && Chance(30))
        line->AddListener(shared);
    AddProcess(line);
}

void World::MakeMessenger()
{
    if (Objects() < kMaxObjects)
        new Messenger;
}

TEST(ReentrancyProperty, EveryObjectIsDeletedExactlyOnce)
{
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Tandry::FreeAllProcesses();
        Tandry::ResetMessageBus();
        World world(seed);
        gWorld = &world;

        for (int step = 0; step < 500; ++step) {
            switch (world.rng() % 6) {
            case 0:
                world.MakeProcess();
                break;
            case 1:
                world.MakeAnimation();
                break;
            case 2:
                world.MakeMessenger();
                break;
            case 3:
                world.Broadcast();
                break;
            default:
                Tandry::UpdateProcesses(0.01f);
                break;
            }
        }

        // The game's teardown: the list first, then whatever is left.
        Tandry::FreeAllProcesses();
        EXPECT_TRUE(world.processes.empty());
        while (!world.owners.empty())
            delete world.owners.back();
        while (!world.watchers.empty())
            delete world.watchers.back();
        while (!world.messengers.empty())
            delete world.messengers.back();
        EXPECT_EQ(Tandry::CountProcesses(), 0);

        EXPECT_EQ(static_cast<int>(world.deletions.size()), world.nextSerial);
        for (const auto& [serial, count] : world.deletions)
            EXPECT_EQ(count, 1) << "object " << serial;
        for (int code = 0; code < kCodes; ++code)
            EXPECT_TRUE(TMessenger::SubscribersOf(code).empty()) << "code " << code;
        gWorld = nullptr;
    }
    Tandry::ResetMessageBus();
}

} // namespace
