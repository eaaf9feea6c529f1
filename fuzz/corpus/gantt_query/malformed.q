AND
'Name'='x'
OR
OR
'Weight'>'3'
'Name'='y'
