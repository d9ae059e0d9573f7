# Richer sessions for the release binary under Wine, each compared line for line
# with the Linux simulator's trace: every flag on in the settings file, the
# camera engaged, the menu through every page (tests/wine/sessions/every-page-engaged.zvs).
zv_wine_host_test(EveryPageEngagedMatchesLinux TRACE_MATCHES_LINUX SESSION ${ZV_WINE_SESSIONS}/every-page-engaged.zvs
                  --lens-presses 0)
zv_wine_host_test(EveryPageEngagedAcrossTheWrapMatchesLinux TRACE_MATCHES_LINUX
                  SESSION ${ZV_WINE_SESSIONS}/every-page-engaged.zvs --lens-presses 0 --start-tick 0xFFFFF000)
