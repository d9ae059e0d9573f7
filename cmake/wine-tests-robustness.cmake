# Richer sessions for the release binary under Wine, each compared line for line
# with the Linux simulator's trace: every flag on in the settings file; V
# cycles the game's view to first person and engages the plug-in's camera; the
# right mouse button aims; the menu visits every page, steps values, opens and
# cancels the "Reset All" dialog and closes with the save; V switches off.
set(zv_every_flag HeadBob WeaponLead AimSway RecoilShake BulletTracers CrouchLower ChromaticAberration FilmGrain
    DamageGlitch BodycamMaster BodycamRecoil ShowWeaponRecoil SmoothFollow Deadzone Hand3D Crosshair
    CrosshairOnlyAimed CrosshairOnlyADS ADSGameView SniperGameView VehCam CinematicAudio ShowHead Veh_ShowHead
    Veh_CamInertia AutoTurn FreeLook MC_Cam MC_ShowHead MC_CamInertia MC_FreeLook)
set(zv_tour_args --frames 1400)
foreach(flag IN LISTS zv_every_flag)
  list(APPEND zv_tour_args --setting ${flag}=1)
endforeach()
# V at 20, 40, 60 turns the game's view to first person; V at 80 engages.
foreach(frame 20 40 60 80)
  list(APPEND zv_tour_args --key 0x56@${frame}+2)
endforeach()
list(APPEND zv_tour_args --key 0x02@120+80 --key 0x75@220+2)  # aim with the right button; F6 opens the menu
# Each of the eight pages: ENTER opens it (on ACTIONS, the dialog), DOWN, RIGHT
# held steps the second row, LEFT, BACK returns (or cancels), DOWN to the next.
# The first rows stay as they are: one is the bodycam master switch, whose F10
# presses the host expects only at start-up.
foreach(page RANGE 7)
  math(EXPR f "240 + 130 * ${page}")
  math(EXPR down "${f} + 20")
  math(EXPR right "${f} + 40")
  math(EXPR left "${f} + 70")
  math(EXPR back "${f} + 90")
  math(EXPR next "${f} + 110")
  list(APPEND zv_tour_args --key 0x0D@${f}+2 --key 0x27@${right}+12 --key 0x28@${down}+2 --key 0x25@${left}+2
       --key 0x08@${back}+2 --key 0x28@${next}+2)
endforeach()
list(APPEND zv_tour_args --key 0x75@1300+2 --key 0x56@1340+2)  # F6 closes and saves; V switches off

zv_wine_host_test(EveryPageEngagedMatchesLinux TRACE_MATCHES_LINUX ${zv_tour_args} --lens-presses 0)
zv_wine_host_test(EveryPageEngagedAcrossTheWrapMatchesLinux TRACE_MATCHES_LINUX ${zv_tour_args} --lens-presses 0
                  --start-tick 0xFFFFF000)
