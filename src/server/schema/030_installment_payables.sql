-- Payables divided between the installments of a split boleto: the part divided off
-- remembers the payable installment (NRPARCELAPAG of the same document and sequence) it
-- came from, so removing the installment merges it back instead of leaving two rows.
ALTER TABLE CNTPAGAR ADD COLUMN NRPARCELAPAGORIG VARCHAR(2);
