// HP changes used everywhere: healing, damage with its popup and shake, quiet loss.
#pragma once

#include <cstdint>

struct Game;

void ChangeHp(Game& g, int unit, int32_t amount);
void TakeDamage(Game& g, int unit, int32_t amount);
void LoseHp(Game& g, int unit, int32_t amount);
