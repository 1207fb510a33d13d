// SPDX-License-Identifier: GPL-3.0-or-later
// The shop: customers, orders, sales and advertising.
#pragma once

#include <cstdint>
#include <string>

struct Game;

// The shop loop: 待つ / せんでん / もどる / オーダーシート.
void ShopScreen(Game& g);
// One regular sale of an item; the only place the shop RANK advances.
void SellItem(Game& g, int32_t item);
// A customer who buys nothing.
void CustomerLeaves(Game& g);
// How many customer kinds come at this fame (2..8); kind k comes only if k < it.
int32_t CustomerKindsOffered(int32_t fame);
// Whether a regular customer of kind 0..7 would buy item n as things are.
bool CustomerWants(const Game& g, int kind, int32_t n);
// A customer's name (CP932).
std::string MakeCustomerName(Game& g);
// Money and fame, with their sounds and lines.
void GainMoney(Game& g, int32_t amount);
void ChangeFame(Game& g, int32_t amount);
