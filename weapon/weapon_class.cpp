#include "weapon/weapon.h"

// Not built yet: weapon classification comes with weapon feel.
Hash currentWeapon(Ped) { return kWeaponUnarmed; }
Hash weaponGroup(Hash) { return 0; }
bool isArmed(Hash weapon) { return weapon != kWeaponUnarmed; }
bool isFirearm(Ped) { return false; }
bool isTracerWeapon(Hash, Hash) { return false; }
float recoilClassAmount(Hash) { return 0.0f; }
uint32_t shotIntervalMs(Hash) { return 0; }
