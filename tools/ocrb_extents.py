# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

"""The design-unit extents of the OCR-B digit outlines, shared by the outline
generators: each digit's outline is mapped exactly onto these."""

# Design-unit extents of each digit outline: XMin, XMax, YMin, YMax.
EXTENTS = {
    "0": (149, 835, -22, 1054),
    "1": (195, 622, -15, 1051),
    "2": (176, 805, -4, 1052),
    "3": (154, 822, -19, 1036),
    "4": (147, 833, -12, 1047),
    "5": (190, 777, -23, 1035),
    "6": (152, 838, -19, 1047),
    "7": (154, 838, -12, 1037),
    "8": (152, 835, -20, 1051),
    "9": (153, 839, -12, 1051),
}
CONTOURS = {"0": 2, "6": 2, "8": 3, "9": 2}
