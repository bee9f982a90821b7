#include "core/component.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace qh;

namespace {

// Records what happens to it in a log shared by a test.
class Probe : public TComponent {
    QH_CLASS(Probe, TComponent)
    Probe(TComponent* owner, std::string label, std::vector<std::string>* log)
        : TComponent(owner), FLabel(std::move(label)), FLog(log) {}
    ~Probe() override {
        Destroying();
        FLog->push_back("free " + FLabel);
    }
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (component != this)
            FLog->push_back(FLabel + (operation == opInsert ? " +" : " -") +
                            (component->Name().empty() ? "?" : component->Name()));
    }
    void Loaded() override {
        FLog->push_back("loaded " + FLabel + (HasState(csLoading) ? " (loading)" : ""));
        TComponent::Loaded();
    }

private:
    std::string FLabel;
    std::vector<std::string>* FLog;
};

QH_DEFINE_CLASS(Probe, TComponent)

} // namespace

TEST(ComponentOwnership, KeepsCreationOrderAndFreesLastFirst) {
    std::vector<std::string> log;
    {
        auto owner = std::make_unique<TComponent>(nullptr);
        auto* a = new Probe(owner.get(), "a", &log);
        auto* b = new Probe(owner.get(), "b", &log);
        auto* c = new Probe(owner.get(), "c", &log);
        ASSERT_EQ(owner->ComponentCount(), 3);
        EXPECT_EQ(owner->Components(0), a);
        EXPECT_EQ(owner->Components(2), c);
        EXPECT_EQ(b->ComponentIndex(), 1);
        EXPECT_EQ(b->Owner(), owner.get());
        log.clear();
    }
    // Each frees itself; the siblings still alive hear of it.
    std::vector<std::string> expected = {"free c", "a -?", "b -?", "free b", "a -?", "free a"};
    EXPECT_EQ(log, expected);
}

TEST(ComponentOwnership, FreeingOneTakesItOffItsOwner) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
    EXPECT_THROW(owner.Components(1), EListError);
    EXPECT_THROW(owner.Components(-1), EListError);
}

TEST(ComponentOwnership, NestedOwnersFreeTheirOwnFirst) {
    std::vector<std::string> log;
    {
        TComponent root(nullptr);
        auto* panel = new Probe(&root, "panel", &log);
        new Probe(panel, "inner", &log);
        new Probe(&root, "later", &log);
        log.clear();
    }
    // The panel passes what it hears on to its own components.
    std::vector<std::string> expected = {"free later", "inner -?", "panel -?", "free panel",
                                         "free inner"};
    EXPECT_EQ(log, expected);
}

TEST(ComponentOwnership, InsertTakesOverAndRemoveGivesUp) {
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* c = new TComponent(&first);
    second.InsertComponent(c);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.ComponentCount(), 1);
    EXPECT_EQ(c->Owner(), &second);
    second.RemoveComponent(c);
    EXPECT_EQ(c->Owner(), nullptr);
    EXPECT_EQ(c->ComponentIndex(), -1);
    std::unique_ptr<TComponent> own(c);
}

TEST(ComponentNames, AreIdentifiersUniqueAmongSiblings) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Timer1");
    EXPECT_EQ(owner.FindComponent("timer1"), a);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_THROW(b->SetName("TIMER1"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    for (const char* bad : {"1abc", "a b", "N-2", "名字"})
        EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    b->SetName("_N5");
    a->SetName("Timer1"); // its own name again is no clash
    a->SetName("");
    b->SetName("Timer1");
    EXPECT_EQ(owner.FindComponent("Timer1"), b);
    // Unnamed siblings never clash.
    new TComponent(&owner);
    EXPECT_EQ(owner.ComponentCount(), 3);
}

TEST(ComponentNames, TakingOverRefusesAClash) {
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* a = new TComponent(&first);
    a->SetName("Label1");
    (new TComponent(&second))->SetName("Label1");
    EXPECT_THROW(second.InsertComponent(a), EComponentError);
    EXPECT_EQ(a->Owner(), &first);
}

TEST(ComponentNotification, FreeNotificationWorksBothWaysAndOnce) {
    std::vector<std::string> log;
    auto watcher = std::make_unique<Probe>(nullptr, "watcher", &log);
    auto other = std::make_unique<Probe>(nullptr, "other", &log);
    other->SetName("Other");
    watcher->SetName("Watcher");
    watcher->FreeNotification(other.get());
    watcher->FreeNotification(other.get());
    other.reset();
    std::vector<std::string> expected = {"free other", "watcher -Other"};
    EXPECT_EQ(log, expected);

    // The link goes the other way too, and is gone once removed.
    log.clear();
    auto third = std::make_unique<Probe>(nullptr, "third", &log);
    third->FreeNotification(watcher.get());
    watcher.reset();
    expected = {"free watcher", "third -Watcher"};
    EXPECT_EQ(log, expected);
    auto fourth = std::make_unique<Probe>(nullptr, "fourth", &log);
    third->FreeNotification(fourth.get());
    third->RemoveFreeNotification(fourth.get());
    log.clear();
    fourth.reset();
    third.reset();
    expected = {"free fourth", "free third"};
    EXPECT_EQ(log, expected);
}

TEST(ComponentNotification, OwnerPassesInsertAndRemoveToItsComponents) {
    std::vector<std::string> log;
    TComponent owner(nullptr);
    new Probe(&owner, "a", &log);
    auto* b = new TComponent(&owner);
    b->SetName("B");
    log.clear();
    delete b;
    std::vector<std::string> expected = {"a -B"};
    EXPECT_EQ(log, expected);
}

namespace {
struct OwnerStateWatch : TComponent {
    OwnerStateWatch(TComponent* owner, bool* seen) : TComponent(owner), FSeen(seen) {}
    ~OwnerStateWatch() override { *FSeen = Owner()->HasState(csDestroying); }
    bool* FSeen;
};
} // namespace

TEST(ComponentNotification, DestroyingIsSetBeforeTheOwnedAreFreed) {
    bool seen = false;
    {
        TComponent owner(nullptr);
        new OwnerStateWatch(&owner, &seen);
        EXPECT_FALSE(owner.HasState(csDestroying));
    }
    EXPECT_TRUE(seen);
}

TEST(ComponentLoading, LoadedRunsOnEachInCreationOrderThenOnTheRoot) {
    std::vector<std::string> log;
    Probe form(nullptr, "form", &log);
    form.BeginLoading();
    EXPECT_TRUE(form.HasState(csLoading | csReading));
    auto* a = new Probe(&form, "a", &log);
    auto* b = new Probe(&form, "b", &log);
    EXPECT_TRUE(a->HasState(csLoading));
    EXPECT_TRUE(b->HasState(csReading));
    log.clear();
    form.EndLoading();
    std::vector<std::string> expected = {"loaded a (loading)", "loaded b (loading)",
                                         "loaded form (loading)"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(a->ComponentState(), 0u);
    EXPECT_EQ(form.ComponentState(), 0u);

    // A component added later is not loading and gets no Loaded.
    auto* c = new Probe(&form, "c", &log);
    EXPECT_FALSE(c->HasState(csLoading));
    log.clear();
    form.EndLoading();
    EXPECT_TRUE(log.empty());
}

TEST(ClassIdentity, NamesAndDescendantTests) {
    TComponent plain(nullptr);
    std::vector<std::string> log;
    Probe probe(nullptr, "p", &log);
    EXPECT_STREQ(plain.ClassName(), "TComponent");
    EXPECT_STREQ(probe.ClassName(), "Probe");
    EXPECT_TRUE(probe.Is<TComponent>());
    EXPECT_TRUE(probe.Is<TPersistent>());
    EXPECT_TRUE(probe.Is<Probe>());
    EXPECT_FALSE(plain.Is<Probe>());
    EXPECT_TRUE(probe.InheritsFrom("tcomponent"));
    EXPECT_TRUE(probe.InheritsFrom("TObject"));
    EXPECT_FALSE(plain.InheritsFrom("Probe"));
    EXPECT_FALSE(plain.InheritsFrom("TComp"));
    // Through a base pointer the object's own class answers.
    const TObject& asObject = probe;
    EXPECT_STREQ(asObject.ClassName(), "Probe");
    EXPECT_EQ(asObject.ClassType().Parent, &TComponent::StaticClass());
}
