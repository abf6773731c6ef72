# Pictures, help page and desktop integration: made from the sources under assets/.
