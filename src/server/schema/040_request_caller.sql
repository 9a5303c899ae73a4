-- A stored answer belongs to the call that made it: the digest covers the operator,
-- the company context, the operation and the arguments, so a request id answers only
-- a retry of that same call and never hands one caller's results to another.
ALTER TABLE REQUISICAO ADD COLUMN CDEMPRESA VARCHAR(20);
ALTER TABLE REQUISICAO ADD COLUMN CDFILIAL VARCHAR(20);
ALTER TABLE REQUISICAO ADD COLUMN DSRESUMO VARCHAR(64);
