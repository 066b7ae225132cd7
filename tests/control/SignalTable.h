// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#pragma once

// Change signals checked through the meta-object, as bindings and Designer
// see them: one table serves TWEQBarCode, BarcodeWidget and the QML item.

#include <QMetaProperty>
#include <QSignalSpy>
#include <QVariant>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// One property write and the properties it really changes.
struct TPropertyWrite {
    const char* Property;
    QVariant Value;
    std::set<std::string> Changed;
};

// Each write runs twice: the first emits the change signal of every property
// in Changed once, carrying the new value, and no other; the repeat emits
// nothing. Every notifying property of the class itself must change somewhere
// in the table.
inline void ExpectOneSignalPerRealChange(QObject& Object, const std::vector<TPropertyWrite>& Writes)
{
    const QMetaObject* Meta = Object.metaObject();
    std::map<std::string, std::unique_ptr<QSignalSpy>> Spies;
    for (int I = Meta->propertyOffset(); I < Meta->propertyCount(); ++I)
        if (const QMetaProperty P = Meta->property(I); P.hasNotifySignal())
            Spies[P.name()] = std::make_unique<QSignalSpy>(&Object, P.notifySignal());
    std::set<std::string> Covered;
    for (std::size_t Row = 0; Row < Writes.size(); ++Row) {
        const TPropertyWrite& W = Writes[Row];
        for (int Pass = 0; Pass < 2; ++Pass) {
            SCOPED_TRACE("row " + std::to_string(Row) + " (" + W.Property + " := " +
                         W.Value.toString().toStdString() + ")" + (Pass ? ", repeated" : ""));
            for (auto& [Name, Spy] : Spies)
                Spy->clear();
            ASSERT_TRUE(Object.setProperty(W.Property, W.Value));
            for (auto& [Name, Spy] : Spies) {
                const bool Expected = Pass == 0 && W.Changed.count(Name);
                ASSERT_EQ(Spy->count(), Expected ? 1 : 0) << Name << "Changed";
                if (Expected) {
                    EXPECT_EQ(Spy->first().value(0), Object.property(Name.c_str())) << Name << "Changed's argument";
                }
            }
        }
        Covered.insert(W.Changed.begin(), W.Changed.end());
    }
    for (const auto& [Name, Spy] : Spies)
        EXPECT_TRUE(Covered.count(Name)) << "the table never changes " << Name;
}
