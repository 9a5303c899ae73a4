-- Saved filter options: what an operator saved on a filter dialog (screen code
-- CDTELA, e.g. 'PAG12100'), one row per entry. IDTPOPCAO 'O' is an entry of the
-- dialog's option list (one per criterion list, NMOPCAO the list's key such as
-- 'stForneced'); 'C' the state of one of its controls (NMOPCAO the control's name).
-- NRORDEM keeps the entries in the order they were saved. Saving replaces every row
-- of the operator and screen (docs/suite.md).
CREATE TABLE OPCFILTRO (
    CDOPERADOR  VARCHAR(20) NOT NULL REFERENCES OPERADOR (CDOPERADOR),
    CDTELA      VARCHAR(20) NOT NULL,
    IDTPOPCAO   VARCHAR(1)  NOT NULL CHECK (IDTPOPCAO IN ('O', 'C')),
    NMOPCAO     VARCHAR(60) NOT NULL,
    DSVALOPCAO  TEXT,
    NRORDEM     INTEGER     NOT NULL,
    PRIMARY KEY (CDOPERADOR, CDTELA, IDTPOPCAO, NMOPCAO)
);
