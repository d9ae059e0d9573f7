// On-foot behaviours around the camera: the walking pace on the sprint control
// and auto-turn of the body toward the view.
#include "camera_session.h"

namespace {

using namespace camtest;

float lastCap() {
    auto calls = sim::frameCalls(native::kSetPedMaxMoveBlendRatio);
    if (calls.size() != 1) sim::fail("expected one move blend ratio cap in the frame");
    return calls[0]->f(1);
}

TEST(WalkingPace, TapTogglesWalkAndJogHoldSprintsStandingStillWalks) {
    startSession();
    play::engageAndSettle();
    sim::setControlNormal(kControlMoveForward, 1.0f);
    sim::frame();
    EXPECT_FLOAT_EQ(lastCap(), 1.0f);  // walking by default
    EXPECT_FLOAT_EQ(sim::player.desiredMoveRatio, 1.0f);

    sim::holdControl(kControlSprint);
    sim::frames(3);
    EXPECT_FLOAT_EQ(lastCap(), 1.0f);  // a short press is not yet anything
    sim::releaseControl(kControlSprint);
    sim::frame();
    EXPECT_FLOAT_EQ(lastCap(), 2.0f);  // tapped: jog, at once
    sim::frames(10);
    EXPECT_FLOAT_EQ(sim::player.desiredMoveRatio, 2.0f);

    // Held: sprint from 220 ms on, while it stays down.
    sim::holdControl(kControlSprint);
    sim::frame();
    const uint32_t pressedAt = sim::now();
    while (sim::now() - pressedAt < 208) {
        sim::frame();
        EXPECT_FLOAT_EQ(lastCap(), 2.0f);
    }
    sim::frame();
    ASSERT_GE(sim::now() - pressedAt, 220u);
    EXPECT_FLOAT_EQ(lastCap(), 3.0f);
    sim::runFor(1000);
    EXPECT_FLOAT_EQ(sim::player.desiredMoveRatio, 3.0f);
    sim::releaseControl(kControlSprint);
    sim::frame();
    EXPECT_FLOAT_EQ(lastCap(), 2.0f);  // a long hold leaves the toggle alone

    // Standing still caps at walking whatever the toggle says.
    sim::setControlNormal(kControlMoveForward, 0.05f);
    sim::frame();
    EXPECT_FLOAT_EQ(lastCap(), 1.0f);
    sim::setControlNormal(kControlMoveLeft, 0.5f);  // steering sideways counts
    sim::frame();
    EXPECT_FLOAT_EQ(lastCap(), 2.0f);
    sim::setControlNormal(kControlMoveLeft, 0.0f);

    // Without control nothing is capped and a press in progress is forgotten.
    sim::setControlNormal(kControlMoveForward, 1.0f);
    sim::holdControl(kControlSprint);
    sim::frame();
    sim::scene.controlOn = false;
    sim::frames(3);
    EXPECT_TRUE(sim::frameCalls(native::kSetPedMaxMoveBlendRatio).empty());
    sim::scene.controlOn = true;
    sim::releaseControl(kControlSprint);
    sim::frame();
    EXPECT_FLOAT_EQ(lastCap(), 2.0f);  // no toggle from the interrupted press
}

class AutoTurnTest : public ::testing::Test {
   protected:
    void SetUp() override {
        startSession();
        AutoTurn = 1;
        AutoTurnAngle = 45.0f;
        play::engageAndSettle();
    }
    // One frame with the body at `heading` and the view at `yaw`; the body's heading after it.
    static float turnOnce(float heading, float yaw) {
        sim::playerPed().rotation.z = heading;
        sim::setGameplayRotation(0.0f, 0.0f, yaw);
        sim::frame();
        return sim::playerPed().rotation.z;
    }
};

TEST_F(AutoTurnTest, TheBodyClosesPartOfTheExcessPerFrameNeverPastTheThreshold) {
    EXPECT_NEAR(turnOnce(0.0f, 50.0f), 0.9f, 1e-4f);    // 18 % of 5 degrees
    EXPECT_NEAR(turnOnce(0.0f, 45.2f), 0.2f, 1e-4f);    // the 0.5 minimum, limited by the excess
    EXPECT_NEAR(turnOnce(0.0f, 46.0f), 0.5f, 1e-4f);    // the 0.5 minimum
    EXPECT_NEAR(turnOnce(0.0f, -50.0f), 359.1f, 1e-3f);   // the other way, across north
    EXPECT_NEAR(turnOnce(350.0f, 45.0f), 351.8f, 1e-3f);  // 55 degrees apart across north: 1.8
    // Inside the threshold the body stays.
    EXPECT_FLOAT_EQ(turnOnce(100.0f, 130.0f), 100.0f);
    // Repeated frames converge on the threshold without overshooting it.
    sim::playerPed().rotation.z = 0.0f;
    sim::setGameplayRotation(0.0f, 0.0f, 120.0f);
    sim::runFor(3000);
    EXPECT_NEAR(sim::playerPed().rotation.z, 75.0f, 1e-3f);
}

TEST_F(AutoTurnTest, BackpedallingSnapsTheBodyToTheViewAndOffMeansOff) {
    sim::setControlNormal(kControlMoveBack, 1.0f);
    EXPECT_FLOAT_EQ(turnOnce(0.0f, -120.0f), 240.0f);
    EXPECT_FLOAT_EQ(turnOnce(10.0f, 12.0f), 12.0f);
    sim::setControlNormal(kControlMoveRight, 1.0f);  // as much sideways as back: still backpedalling
    EXPECT_FLOAT_EQ(turnOnce(10.0f, 14.0f), 14.0f);
    sim::setControlNormal(kControlMoveBack, 0.9f);  // more sideways than back: not
    EXPECT_FLOAT_EQ(turnOnce(10.0f, 12.0f), 10.0f);
    sim::setControlNormal(kControlMoveRight, 0.0f);
    AutoTurn = 0;
    EXPECT_FLOAT_EQ(turnOnce(0.0f, 170.0f), 0.0f);
}

}  // namespace
