// SPDX-License-Identifier: GPL-3.0-or-later
// The item numbers the rules test by name. Numbers without a catalogue entry are
// named after what they do: no find, reward or recipe gives them, so they act only
// when a save file holds a count for them.
#pragma once

#include <cstdint>

// Tools of the field.
inline constexpr int32_t kKey = 2;        // 鍵
inline constexpr int32_t kRod = 101;      // 釣竿
inline constexpr int32_t kBait = 102;     // イズミミズ
inline constexpr int32_t kShovel = 214;   // スコップ
inline constexpr int32_t kPickaxe = 215;  // つるはし

// Keepsakes of the battle.
inline constexpr int32_t kEmpressStaff = 46;     // 皇后の杖: ヒール in the magic list, wears on use
inline constexpr int32_t kSaintStatue = 48;      // 聖ペテロ像: back from death first, with a tenth
inline constexpr int32_t kSecondLife = 190;      // (no entry): back from death, with a third
inline constexpr int32_t kBatSword = 159;        // コウモリのけん: drains 1 HP per blow
inline constexpr int32_t kMongooseSword = 160;   // マングースのけん: now and then a second blow
inline constexpr int32_t kCentipedeSword = 161;  // むかでのけん: now and then up to three more
inline constexpr int32_t kGnomeSword = 167;      // ノームのけん: lowers the defence it strikes
inline constexpr int32_t kThornCloak = 174;      // いばらのマント: returns physical damage
inline constexpr int32_t kWitchCloak = 175;      // 魔女のマント: returns magic damage
inline constexpr int32_t kCourageSword = 182;    // (no entry) 勇気の剣: heals 1 HP per blow
inline constexpr int32_t kDragonSword = 210;     // (no entry) 竜剣: now and then a second blow
inline constexpr int32_t kPoisonHood = 226;      // 毒使いのフード: now and then poisons the struck
inline constexpr int32_t kWiseWomanStaff = 241;  // (no entry) 才女の杖: spells lower the defence
inline constexpr int32_t kEvasionHalver = 121;   // (no entry): halves the enemy's physical hit chance
inline constexpr int32_t kBoostDoubler = 122;    // (no entry): spell boosts one in 10 instead of 20
inline constexpr int32_t kCriticalHalver = 123;  // (no entry): halves the odds against a critical hit
inline constexpr int32_t kMpTickCharm = 124;     // (no entry): now and then 1 MP at turn start
inline constexpr int32_t kHpTickCharm = 125;     // (no entry): now and then 1 HP at turn start
inline constexpr int32_t kTpTickCharm = 126;     // (no entry): now and then 1 TP at turn start
inline constexpr int32_t kResistCharm = 168;     // (no entry): resists spells one in 18 instead of 20

// Charms of the finds and the day.
inline constexpr int32_t kRarityCharmQuarter = 52;  // ｒｏｍｉ色チョコ: a quarter more rarity for the finds
inline constexpr int32_t kRarityCharmHalf = 53;     // 舞路色綿菓子: half as much again
inline constexpr int32_t kExpCharmPerCount = 105;   // (no entry): more experience per count held
inline constexpr int32_t kPoisonGuard = 243;        // (no entry): poison does no harm as time passes
