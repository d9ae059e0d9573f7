# The release binary on a player's real Windows, as the simulated machine
# models it: Windows' tick at high frame rates, a game that pumps its window
# messages only every second frame, no controller, a game folder the player may
# not write to, and folders that the ANSI functions cannot name.
# Every flip of "Bodycam Enabled" reaches the injector as one F10 press, at
# 240 fps with messages pumped every second frame and with jittered frames.
zv_wine_host_test(LensFlipsAt240FpsPumpedEverySecondFrame SESSION ${ZV_WINE_SESSIONS}/lens-flips.zvs
                  --frame-us 4167 --pump-every 2 --jitter 15)
zv_wine_host_test(LensFlipsAt30Fps SESSION ${ZV_WINE_SESSIONS}/lens-flips.zvs --frame-us 33333)

# Ten seconds of a sniper aim with no controller: each empty slot is asked
# about once a second (4 slots, at most twice a second each).
zv_wine_host_test(NoControllerAsksEmptySlotsRarely SESSION ${ZV_WINE_SESSIONS}/sniper-no-controller.zvs
                  --frame-us 6944 --max-empty-pad-calls 96)

# A read-only game folder: no settings file, one notification at start-up and
# one for each of the two saves, nothing hangs.
zv_wine_host_test(ReadOnlyFolderSaysSo NO_FILE Zentravisor.ini --frames 120 --read-only-folder 1
                  --expect-not-saved 1 --lens-presses 1)
zv_wine_host_test(ReadOnlyFolderSaysSoAtEachSave SESSION ${ZV_WINE_SESSIONS}/read-only-save.zvs NO_FILE Zentravisor.ini
                  --read-only-folder 1 --expect-not-saved 3)

# A game folder named in scripts outside the ANSI code page (Cyrillic and
# Japanese), and one whose path is longer than the old 260-character limit.
zv_wine_host_test(FolderOutsideTheAnsiCodePage FOLDER "Игры ゲーム" EXPECT_FILE Zentravisor.ini --frames 30
                  --lens-presses 1)
string(REPEAT "a-long-folder-name-" 4 ZV_LONG_NAME)
zv_wine_host_test(FolderPastTheOldPathLimit
                  FOLDER "long/${ZV_LONG_NAME}1/${ZV_LONG_NAME}2/${ZV_LONG_NAME}3/${ZV_LONG_NAME}4"
                  EXPECT_FILE Zentravisor.ini --frames 30 --lens-presses 1)
