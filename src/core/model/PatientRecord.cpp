// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PatientRecord.h"

#include <QtEndian>

#include <cstring>

namespace
{

class Writer
{
public:
    explicit Writer(QByteArray &out) : out_(out) {}
    void i32(std::int32_t v)
    {
        char b[4];
        qToLittleEndian(v, b);
        out_.append(b, 4);
    }
    void f32(float v)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        char b[4];
        qToLittleEndian(bits, b);
        out_.append(b, 4);
    }
    template <std::size_t N> void text(const std::array<char16_t, N> &field)
    {
        for (char16_t c : field) {
            char b[2];
            qToLittleEndian<std::uint16_t>(c, b);
            out_.append(b, 2);
        }
    }

private:
    QByteArray &out_;
};

class Reader
{
public:
    explicit Reader(const QByteArray &in) : p_(in.constData()) {}
    std::int32_t i32()
    {
        auto v = qFromLittleEndian<std::int32_t>(p_);
        p_ += 4;
        return v;
    }
    float f32()
    {
        auto bits = qFromLittleEndian<std::uint32_t>(p_);
        p_ += 4;
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }
    template <std::size_t N> void text(std::array<char16_t, N> &field)
    {
        for (auto &c : field) {
            c = qFromLittleEndian<std::uint16_t>(p_);
            p_ += 2;
        }
    }

private:
    const char *p_;
};

} // namespace

QByteArray PatientRecord::toBytes() const
{
    QByteArray out;
    out.reserve(kStoredSize);
    Writer w(out);
    w.i32(idNumber);
    w.text(name);
    w.i32(gender);
    w.i32(age);
    w.f32(height);
    w.f32(weight);
    w.text(physician);
    w.text(note1);
    w.text(note2);
    w.text(comments);
    w.i32(unitSystem);
    Q_ASSERT(out.size() == kStoredSize);
    return out;
}

bool PatientRecord::fromBytes(const QByteArray &data)
{
    if (data.size() != kStoredSize)
        return false;
    Reader r(data);
    PatientRecord p;
    p.idNumber = r.i32();
    r.text(p.name);
    p.gender = r.i32();
    p.age = r.i32();
    p.height = r.f32();
    p.weight = r.f32();
    r.text(p.physician);
    r.text(p.note1);
    r.text(p.note2);
    r.text(p.comments);
    p.unitSystem = r.i32();
    *this = p;
    return true;
}
