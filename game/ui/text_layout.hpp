// Where a text stands in the player's language.
#pragma once

// The column for `japanese` in the current language: shown in Japanese it keeps the column its
// screen was drawn for; a translation, longer or shorter, is centred on `centre` by its width.
int ColumnFor(const char* japanese, int column, int centre);
