-- The state the list's walks read for every listed boleto (mark-all's guards, the
-- remittance situations of an unmark-all), kept next to the boleto's key: a walk over
-- a long list reads this index instead of every whole boleto row.
CREATE INDEX IX_BOLETPAGAR_ESTADO ON BOLETPAGAR (CDFILIAL, NRLANBOLPAG, CDEMPRESA, IDSTATBPAG,
    NRLANBOLREAL, NRLANCANTECIPA, IDBLOQNFFIN, IDSITUCNABP, VRFINALBPAG);
