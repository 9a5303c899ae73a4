#pragma once

#include <functional>
#include <string>

#include "platform/dataset/packet.h"
#include "platform/sql/database.h"

namespace pag::server {

// Reads columns of the stored boletos that the rows of a list name (by CDFILIAL and
// NRLANBOLPAG at the given fields) and calls found(row index, statement) for each one
// stored; the statement's columns are `columns` in their order. A short list reads its
// boletos one by one; a list holding a good part of the table reads the table once,
// which costs less than one lookup per row.
void forEachStoredBoleto(Database& db, const Packet& list, size_t filialAt, size_t lancAt,
                         const std::string& columns,
                         const std::function<void(size_t, const Statement&)>& found);

// Index of a field the list must have; a refusal naming it otherwise.
size_t requiredListField(const Packet& list, const char* name);

}  // namespace pag::server
